#include "input/text_decoding.h"

#include "input/code_page_tables.h"

#include <cctype>
#include <utility>

namespace tessaly {

namespace {

const CodePageTable* FindTable(std::string_view codec) {
    for (const CodePageTable& t : kCodePageTables)
        if (t.name == codec) return &t;
    return nullptr;
}

const CodePageTable& Windows1252() {
    static const CodePageTable* table = FindTable("cp1252");
    return *table;
}

// Upper-cases and drops everything but letters and digits: "ISO-8859-1" -> "ISO88591".
std::string NormaliseName(std::string_view text) {
    std::string key;
    for (char c : text)
        if (std::isalnum(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

// Length of the valid UTF-8 sequence at the start of s, or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view s, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) { cp = b0; return 1; }
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; min = 0x10000; }
    else return 0;
    if (s.size() < len) return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

TextDecoder::TextDecoder() : TextDecoder("cp1252", Windows1252().upper.data()) {}

TextDecoder::TextDecoder(std::string name, const std::uint16_t* table)
    : name_(std::move(name)), table_(table) {}

TextDecoder TextDecoder::FromCpgText(std::string_view cpg) {
    const std::string key = NormaliseName(cpg);
    if (key == "UTF8" || key == "65001") return TextDecoder("UTF-8", nullptr);

    // "ISO88591", "88591", "ISO885915" ...
    std::string iso = key;
    if (iso.rfind("ISO", 0) == 0) iso.erase(0, 3);
    if (iso.rfind("8859", 0) == 0 && iso.size() > 4) {
        if (const CodePageTable* t = FindTable("iso8859_" + iso.substr(4)))
            return TextDecoder(std::string(t->name), t->upper.data());
    }
    if (key == "LATIN1") return FromCpgText("8859-1");

    // "1252", "CP1252", "WINDOWS1252", "ANSI1252", "OEM850" ...
    const std::size_t firstDigit = key.find_first_of("0123456789");
    if (firstDigit != std::string::npos &&
        key.find_first_not_of("0123456789", firstDigit) == std::string::npos) {
        if (const CodePageTable* t = FindTable("cp" + key.substr(firstDigit)))
            return TextDecoder(std::string(t->name), t->upper.data());
    }
    return TextDecoder();
}

TextDecoder TextDecoder::FromLanguageByte(std::uint8_t ldid) {
    // The common language driver ids and the code pages they stand for.
    static const std::pair<std::uint8_t, std::string_view> kDrivers[] = {
        {0x01, "cp437"},  {0x02, "cp850"},  {0x03, "cp1252"}, {0x08, "cp865"},
        {0x09, "cp437"},  {0x0A, "cp850"},  {0x0B, "cp437"},  {0x0D, "cp437"},
        {0x0E, "cp850"},  {0x0F, "cp437"},  {0x10, "cp850"},  {0x11, "cp437"},
        {0x12, "cp850"},  {0x14, "cp850"},  {0x15, "cp437"},  {0x16, "cp850"},
        {0x17, "cp865"},  {0x18, "cp437"},  {0x19, "cp437"},  {0x1A, "cp850"},
        {0x1B, "cp437"},  {0x1D, "cp850"},  {0x1F, "cp852"},  {0x22, "cp852"},
        {0x23, "cp852"},  {0x24, "cp860"},  {0x25, "cp850"},  {0x26, "cp866"},
        {0x37, "cp850"},  {0x40, "cp852"},  {0x4D, "cp936"},  {0x4E, "cp949"},
        {0x4F, "cp950"},  {0x50, "cp874"},  {0x57, "cp1252"}, {0x58, "cp1252"},
        {0x59, "cp1252"}, {0x64, "cp852"},  {0x65, "cp866"},  {0x66, "cp865"},
        {0x67, "cp861"},  {0x6A, "cp737"},  {0x6B, "cp857"},  {0x6C, "cp863"},
        {0x7C, "cp874"},  {0x86, "cp737"},  {0x87, "cp852"},  {0x88, "cp857"},
        {0xC8, "cp1250"}, {0xC9, "cp1251"}, {0xCA, "cp1254"}, {0xCB, "cp1253"},
        {0xCC, "cp1257"},
    };
    for (const auto& [id, codec] : kDrivers)
        if (id == ldid)
            if (const CodePageTable* t = FindTable(codec))
                return TextDecoder(std::string(t->name), t->upper.data());
    return TextDecoder();
}

std::string TextDecoder::Decode(std::string_view bytes) const {
    std::string out;
    out.reserve(bytes.size());
    DecodeAppend(bytes, out);
    return out;
}

void TextDecoder::DecodeAppend(std::string_view bytes, std::string& out) const {
    const std::uint16_t* fallback = Windows1252().upper.data();
    while (!bytes.empty()) {
        // ASCII, the bulk of most texts, is the same in every code page: a run at once.
        std::size_t ascii = 0;
        while (ascii < bytes.size() && static_cast<unsigned char>(bytes[ascii]) < 0x80) ++ascii;
        out.append(bytes.substr(0, ascii));
        bytes.remove_prefix(ascii);
        if (bytes.empty()) break;
        const auto b = static_cast<unsigned char>(bytes[0]);
        if (table_ == nullptr) {
            char32_t cp;
            if (const std::size_t len = Utf8SequenceLength(bytes, cp)) {
                out.append(bytes.substr(0, len));
                bytes.remove_prefix(len);
                continue;
            }
            AppendUtf8(out, fallback[b - 0x80]);
        } else {
            AppendUtf8(out, table_[b - 0x80]);
        }
        bytes.remove_prefix(1);
    }
}

std::string TruncateCharacters(const std::string& text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // A character starts at every byte that is not a UTF-8 continuation byte.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == maxChars)
            return text.substr(0, i);
    }
    return text;
}

}  // namespace tessaly
