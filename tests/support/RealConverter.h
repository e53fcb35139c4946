#pragma once
// For the tests that convert for real: the registry knows no converter of its own,
// so they register the one the program registers at start.

namespace pelmora::test {

/// Registers the real LibreOffice converter as "Word.Application".
void UseRealConverter();

} // namespace pelmora::test
