#pragma once
// Turning the bytes of a dBase table into UTF-8 texts.

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

class TextDecoder {
public:
    // A decoder for Windows-1252, the code page of tables that say nothing.
    TextDecoder();

    // From the contents of a ".cpg" file ("UTF-8", "1252", "ISO-8859-1", "CP1251" ...).
    // Unknown names fall back to Windows-1252.
    static TextDecoder FromCpgText(std::string_view cpg);
    // From the language driver byte at offset 29 of a dBase header; 0 and unknown
    // values fall back to Windows-1252.
    static TextDecoder FromLanguageByte(std::uint8_t ldid);

    // Name of the code page, as shown to the user ("UTF-8", "cp1252", ...).
    const std::string& Name() const { return name_; }

    // Always returns valid UTF-8. In UTF-8 tables a byte that does not begin a
    // valid sequence is read as Windows-1252, which is what such stray bytes
    // nearly always are.
    std::string Decode(std::string_view bytes) const;
    // As Decode, appended to out.
    void DecodeAppend(std::string_view bytes, std::string& out) const;

private:
    TextDecoder(std::string name, const std::uint16_t* table);

    std::string name_;
    const std::uint16_t* table_;  // upper half of a single-byte code page; null for UTF-8
};

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp);

// At most maxChars UTF-8 characters of text.
std::string TruncateCharacters(const std::string& text, std::size_t maxChars);

}  // namespace tessaly
