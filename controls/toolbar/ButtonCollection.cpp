#include "controls/toolbar/ButtonCollection.h"

#include "controls/toolbar/ToolbarEnums.h"

#include <charconv>
#include <limits>
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
    if (!buttons_.empty())
        buttons_.pop_back();
}

void ButtonCollection::Move(int from, int to) {
    // Neighbour exchanges, so the buttons between keep their order.
    const int step = from < to ? 1 : -1;
    for (int i = from; i != to; i += step)
        std::swap((*this)[i], (*this)[i + step]);
}

int ButtonCollection::FindKey(const QString& key) const {
    const QString wanted = key.toUpper();
    for (int i = 1; i <= Count(); ++i)
        if ((*this)[i].Key.toUpper() == wanted)
            return i;
    return 0;
}

int ButtonCollection::CurrentGroupID(int16_t groupId) const {
    int found = 0;
    for (int i = 1; i <= Count(); ++i)
        if ((*this)[i].GroupID == groupId && (*this)[i].Checked)
            found = i;
    return found;
}

std::vector<int> ButtonCollection::GroupMembers(int16_t groupId, int except) const {
    std::vector<int> members;
    for (int i = 1; i <= Count(); ++i)
        if (i != except && (*this)[i].GroupID == groupId)
            members.push_back(i);
    return members;
}

std::vector<int> ButtonCollection::AdjacentGroupRun(int index) const {
    std::vector<int> run;
    for (int i = index - 1; i >= 1 && (*this)[i].Style == tbbtButtonGroup; --i)
        run.push_back(i);
    for (int i = index + 1; i <= Count() && (*this)[i].Style == tbbtButtonGroup; ++i)
        run.push_back(i);
    return run;
}

double ButtonCollection::LeadingNumber(const QString& text) {
    // Blanks anywhere are ignored, as the platform's numeric parse does.
    std::string digits;
    bool seenDigit = false, seenPoint = false, seenExponent = false;
    for (QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        const char ch = c.toLatin1();
        if (ch >= '0' && ch <= '9') {
            seenDigit = true;
        } else if ((ch == '+' || ch == '-') && (digits.empty() || digits.back() == 'e')) {
        } else if (ch == '.' && !seenPoint && !seenExponent) {
            seenPoint = true;
        } else if ((ch == 'e' || ch == 'E' || ch == 'd' || ch == 'D') && seenDigit &&
                   !seenExponent) {
            seenExponent = true;
            digits += 'e';
            continue;
        } else {
            break;
        }
        digits += ch;
    }
    // An exponent marker or sign with nothing after it is not part of the number.
    while (!digits.empty() &&
           (digits.back() == 'e' || digits.back() == '+' || digits.back() == '-'))
        digits.pop_back();
    if (!seenDigit || digits.empty())
        return 0;
    if (digits[0] == '+')
        digits.erase(0, 1); // the parser below takes no plus sign
    if (digits.empty())
        return 0;
    double value = 0;
    const char* end = digits.data() + digits.size();
    if (std::from_chars(digits.data(), end, value).ec == std::errc::result_out_of_range) {
        // Too large becomes infinite (and later overflows); too small is zero.
        const auto e = digits.find('e');
        const bool tiny = e != std::string::npos && e + 1 < digits.size() && digits[e + 1] == '-';
        if (tiny)
            return 0;
        return digits[0] == '-' ? -std::numeric_limits<double>::infinity()
                                : std::numeric_limits<double>::infinity();
    }
    return value;
}

} // namespace pelmora
