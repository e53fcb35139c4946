#pragma once
// Table-driven checks of a function of one text: each case gives the input and the output
// expected for it, and a failure names the input.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace pelmora::test {

/// One case: an input and the output expected for it.
using TextCase = std::pair<std::string, std::string>;

/// Expects function to give each case's output for its input.
template <typename Function>
void ExpectOutputs(Function function, std::initializer_list<TextCase> cases) {
    for (const auto& [input, output] : cases) {
        EXPECT_EQ(function(input), output) << "for \"" << input << '"';
    }
}

} // namespace pelmora::test
