#include "engine/kml_text.h"

#include "input/text_decoding.h"

namespace tessaly {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, unsigned v) {
    out += kHex[(v >> 4) & 0xF];
    out += kHex[v & 0xF];
}

// XML 1.0 allows tab, line feed and carriage return among the control characters.
bool ForbiddenControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 && u != '\t' && u != '\n' && u != '\r';
}

// Texts from file names and the command line may not be UTF-8: stray bytes are
// read as Windows-1252, so the document stays valid UTF-8.
std::string ValidUtf8(std::string_view text) {
    static const TextDecoder utf8 = TextDecoder::FromCpgText("UTF-8");
    return utf8.Decode(text);
}

void AppendEscaped(std::string& out, std::string_view text, bool quotes) {
    // Runs of characters that stay as they are go in whole.
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char* entity = c == '&'             ? "&amp;"
                             : c == '<'           ? "&lt;"
                             : c == '>'           ? "&gt;"
                             : c == '"' && quotes ? "&quot;"
                                                  : nullptr;
        if (entity == nullptr && !ForbiddenControl(c)) continue;
        out.append(text.substr(run, i - run));
        if (entity != nullptr) out += entity;
        run = i + 1;
    }
    out.append(text.substr(run));
}

std::string Escape(std::string_view raw, bool quotes) {
    const std::string text = ValidUtf8(raw);
    std::string out;
    out.reserve(text.size());
    AppendEscaped(out, text, quotes);
    return out;
}

}  // namespace

std::string KmlColor(std::uint32_t colour, int opacityPercent) {
    long alpha = static_cast<long>(opacityPercent) * 255 / 100;
    if (alpha > 255) alpha = 255;
    if (alpha < 0) alpha = 0;
    std::string out;
    AppendHexByte(out, static_cast<unsigned>(alpha));
    AppendHexByte(out, (colour >> 16) & 0xFF);
    AppendHexByte(out, (colour >> 8) & 0xFF);
    AppendHexByte(out, colour & 0xFF);
    return out;
}

std::string HtmlColor(std::uint32_t colour) {
    std::string out;
    AppendHexByte(out, colour & 0xFF);
    AppendHexByte(out, (colour >> 8) & 0xFF);
    AppendHexByte(out, (colour >> 16) & 0xFF);
    return out;
}

std::string XmlEscape(std::string_view text) { return Escape(text, false); }

std::string HtmlEscape(std::string_view text) { return Escape(text, true); }

void AppendXmlEscaped(std::string& out, std::string_view utf8) { AppendEscaped(out, utf8, false); }

void AppendHtmlEscaped(std::string& out, std::string_view utf8) { AppendEscaped(out, utf8, true); }

std::string CdataSafe(std::string_view raw) {
    const std::string text = ValidUtf8(raw);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "]]>") == 0) {
            out += "]]]]><![CDATA[>";
            i += 2;
        } else if (!ForbiddenControl(text[i])) {
            out += text[i];
        }
    }
    return out;
}

}  // namespace tessaly
