#pragma once

#include "controls/toolbar/ToolbarButton.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace pelmora {

/// The toolbar's ordered button records, addressed from 1. Pure bookkeeping: no painting and
/// no errors; the toolbar checks indexes and raises its numbered errors itself.
class ButtonCollection {
public:
    /// Number of records.
    int Count() const { return static_cast<int>(buttons_.size()); }
    /// True for 1..Count().
    bool IsValidIndex(int index) const { return index >= 1 && index <= Count(); }
    /// Record at a 1-based index; the index must be valid.
    ToolbarButton& operator[](int index) { return buttons_[static_cast<size_t>(index - 1)]; }
    /// Record at a 1-based index; the index must be valid.
    const ToolbarButton& operator[](int index) const {
        return buttons_[static_cast<size_t>(index - 1)];
    }

    /// Grows (with empty records) or shrinks to count records.
    void Resize(int count);
    /// Appends a record and returns the new count.
    int Append(const ToolbarButton& button);
    /// Drops the last record.
    void RemoveLast();
    /// Drops every record.
    void Clear() { buttons_.clear(); }
    /// Moves the record at from to to; the records between shift towards from.
    void Move(int from, int to);

    /// First index whose key equals key, both upper-cased; 0 when none does.
    int FindKey(const QString& key) const;
    /// Highest index in group groupId that is checked; 0 when none is.
    int CurrentGroupID(int16_t groupId) const;
    /// Every index other than except whose GroupID is groupId, in index order.
    std::vector<int> GroupMembers(int16_t groupId, int except) const;
    /// The group buttons adjacent to index, walking down and then up until a button of another
    /// style: the run a group-button click unchecks.
    std::vector<int> AdjacentGroupRun(int index) const;

private:
    std::vector<ToolbarButton> buttons_;
};

} // namespace pelmora
