// The one rule by which texts are matched and ordered ignoring letter case.

#include "input/letter_case.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The test runner runs in the user's locale: the answers must not depend on it.
TEST(LetterCase, OnlyAsciiLettersFold) {
    const struct {
        const char* a;
        const char* b;
        bool equal, less;  // EqualIgnoringCase(a, b), LessIgnoringCase(a, b)
    } cases[] = {
        {"NAME", "name", true, true},    // equal when folded: then by their own bytes
        {"name", "NAME", true, false},
        {"name", "name", true, false},
        {"", "", true, false},
        {"", "a", false, true},
        {"abc", "ABCD", false, true},    // a text before any longer one it begins
        {"Zebra", "apple", false, false},
        {"[", "a", false, true},         // letters fold down, past "[" and "_"
        {"_", "Z", false, true},
        {"\xC3\x89", "\xC3\xA9", false, true},  // UTF-8 bytes stay as they are
        {"\xC9", "\xE9", false, true},
        {"e", "\xC3\xA9", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EqualIgnoringCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(LessIgnoringCase(c.a, c.b), c.less) << c.a << " / " << c.b;
    }
}

}  // namespace
}  // namespace tessaly
