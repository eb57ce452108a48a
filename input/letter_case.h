#pragma once
// The one rule for comparing texts ignoring letter case: only the ASCII letters fold,
// whatever the user's locale, so that an order or a match never depends on the
// machine. Bytes from 128 on, UTF-8's multi-byte sequences, stay as they are.

#include <string_view>

namespace tessaly {

constexpr unsigned char FoldCase(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Ascending by folded bytes, a text before any longer one it begins; texts equal
// when folded by their own bytes. The order of class lists and of the label sort.
bool LessIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tessaly
