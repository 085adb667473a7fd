// Inputs that the fuzz targets once found faults with (their files are kept
// under fuzz/findings/), fed again to the functions that failed on them.

#include "core/file_io.h"
#include "tests/support/test_support.h"
#include "writeback/entry_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kestrin::test {
namespace {

struct Regression {
    const char* name;     // what went wrong once
    std::string input;
    std::function<void(const std::string&)> check;
};

void utf16ToUtf8KeepsItsTerminatorRule(const std::string& input) {
    std::string without;
    ASSERT_NO_THROW(without = utf16ToUtf8(input, false));
    EXPECT_EQ(utf16ToUtf8(input, true), without + '\0');
    EXPECT_EQ(without.find('\0'), std::string::npos);
}

TEST(FuzzRegressions, KeptInputsNoLongerFail) {
    const std::vector<Regression> regressions = {
        // An odd number of bytes ends in half a code unit: the zero code unit
        // appended as terminator was lost and the search for it ran off the end.
        {"utf16ToUtf8 of one byte threw length_error", "\n", utf16ToUtf8KeepsItsTerminatorRule},
        {"utf16ToUtf8 of three bytes", std::string("A\0B", 3), utf16ToUtf8KeepsItsTerminatorRule},
    };
    for (const auto& r : regressions) {
        SCOPED_TRACE(r.name);
        r.check(r.input);
    }
}

} // namespace
} // namespace kestrin::test
