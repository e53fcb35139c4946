#include "controls/toolbar/ButtonCollection.h"

#include "controls/toolbar/ToolbarEnums.h"

#include <string>
#include <utility>

namespace pelmora {

void ButtonCollection::Resize(int count) {
    buttons_.resize(static_cast<size_t>(count));
}

int ButtonCollection::Append(const ToolbarButton& button) {
    buttons_.push_back(button);
    return Count();
}

void ButtonCollection::RemoveLast() {
    if (!buttons_.empty()) {
        buttons_.pop_back();
    }
}

void ButtonCollection::Move(int from, int to) {
    // Neighbour exchanges, so the buttons between keep their order.
    const int step = from < to ? 1 : -1;
    for (int i = from; i != to; i += step) {
        std::swap((*this)[i], (*this)[i + step]);
    }
}

int ButtonCollection::FindKey(const QString& key) const {
    const QString wanted = key.toUpper();
    for (int i = 1; i <= Count(); ++i) {
        if ((*this)[i].Key().toUpper() == wanted) {
            return i;
        }
    }
    return 0;
}

int ButtonCollection::CurrentGroupID(int16_t groupId) const {
    int found = 0;
    for (int i = 1; i <= Count(); ++i) {
        if ((*this)[i].GroupID() == groupId && (*this)[i].Checked()) {
            found = i;
        }
    }
    return found;
}

std::vector<int> ButtonCollection::GroupMembers(int16_t groupId, int except) const {
    std::vector<int> members;
    for (int i = 1; i <= Count(); ++i) {
        if (i != except && (*this)[i].GroupID() == groupId) {
            members.push_back(i);
        }
    }
    return members;
}

std::vector<int> ButtonCollection::AdjacentGroupRun(int index) const {
    std::vector<int> run;
    for (int i = index - 1; i >= 1 && (*this)[i].Style() == tbbtButtonGroup; --i) {
        run.push_back(i);
    }
    for (int i = index + 1; i <= Count() && (*this)[i].Style() == tbbtButtonGroup; ++i) {
        run.push_back(i);
    }
    return run;
}

} // namespace pelmora
