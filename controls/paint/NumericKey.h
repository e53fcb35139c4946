#pragma once
// Reading a control's item key as a number: the toolbar and the menus take a key whose
// leading number is not 0 as the 16-bit index itself.

#include <QString>
#include <cstdint>

namespace pelmora {

/// The leading decimal number of a text, as a decimal parse that stops at the first
/// character that cannot continue a number (blanks are skipped); 0 when there is none.
double LeadingNumber(const QString& text);

/// A key read as an index: isIndex when its leading number is not 0; overflow when that
/// number, rounded half to even, lies outside the 16-bit range.
class NumericKey {
public:
    explicit NumericKey(bool isIndex = false, bool overflow = false, int16_t index = 0)
        : isIndex_(isIndex), overflow_(overflow), index_(index) {}
    bool IsIndex() const { return isIndex_; }
    bool Overflow() const { return overflow_; }
    int16_t Index() const { return index_; }

private:
    bool isIndex_;
    bool overflow_;
    int16_t index_;
};

/// Reads the leading number of key as an index.
NumericKey ReadNumericKey(const QString& key);

} // namespace pelmora
