#include "input/value_text.h"

#include <algorithm>
#include <cctype>

namespace tessaly {

std::string ReadableNumber(std::string_view stored) {
    const auto first = stored.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::string();
    std::string_view text = stored.substr(first, stored.find_last_not_of(' ') - first + 1);
    const bool exponent = text.find_first_of("eE") != std::string_view::npos;
    if (!exponent && text.find('.') != std::string_view::npos) {
        text.remove_suffix(text.size() - 1 - text.find_last_not_of('0'));
        if (text.back() == '.') text.remove_suffix(1);
    }
    std::string readable(text);
    // ".000" and "-.0" hold a zero all the same.
    if (readable.empty() || readable == "-" || readable == "+") readable += '0';
    return readable;
}

std::string ReadableDate(std::string_view stored) {
    const bool digits = stored.size() == 8 && std::all_of(stored.begin(), stored.end(), [](char c) {
                            return std::isdigit(static_cast<unsigned char>(c)) != 0;
                        });
    if (!digits) return std::string(stored);
    // Eight zeros are how a table says the date is missing.
    if (stored == "00000000") return {};
    return std::string(stored.substr(0, 4)) + '-' + std::string(stored.substr(4, 2)) + '-' +
           std::string(stored.substr(6, 2));
}

}  // namespace tessaly
