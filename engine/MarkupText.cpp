#include "engine/MarkupText.h"

namespace pelmora {

bool IsHeadingName(std::string_view name) {
    return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6';
}

} // namespace pelmora
