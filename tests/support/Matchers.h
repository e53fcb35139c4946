#pragma once
// The gmock matchers the test programs use by their short names, declared once here
// rather than at the top of every test file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace pelmora {

/// Short name of the standard file-system library in tests.
namespace fs = std::filesystem;

/// The matchers, as EXPECT_THAT reads best with them.
using ::testing::AllOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::MatchesRegex;
using ::testing::Not;
using ::testing::StartsWith;

} // namespace pelmora
