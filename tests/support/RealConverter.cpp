#include "tests/support/RealConverter.h"

#include "engine/libreoffice/LibreOfficeApplication.h"

namespace pelmora::test {

void UseRealConverter() {
    RegisterLibreOffice();
}

} // namespace pelmora::test
