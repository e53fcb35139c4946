#pragma once
// The record a run writes into each staging folder, built independently of the
// program's own code, for tests that leave such folders as a killed run would.

#include <string>

namespace pelmora::test {

/// The record of a staging folder made by process pid (started at clock tick
/// started, on this machine) for the page named page.
std::string StagingRecord(long pid, const std::string& started, const std::string& page);

} // namespace pelmora::test
