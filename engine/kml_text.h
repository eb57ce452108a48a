#pragma once
// Small pure functions for the texts of a KML document: colours and escaping.

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

// Eight upper-case hex digits alpha, blue, green, red; alpha is the integer part of
// opacity x 255 / 100, at most 255. The colour is a Windows colour (red in the low byte).
std::string KmlColor(std::uint32_t colour, int opacityPercent);

// Six upper-case hex digits red, green, blue, without "#".
std::string HtmlColor(std::uint32_t colour);

// "&", "<" and ">" as entities, for element content; control characters that XML 1.0
// forbids are dropped.
std::string XmlEscape(std::string_view text);

// For text that goes into a character data section and is shown as HTML there:
// markup characters as HTML entities, so "AT&T" and "<5" show literally.
std::string HtmlEscape(std::string_view text);
// As XmlEscape and HtmlEscape, appended to out, for text known to be UTF-8 already
// (a table's texts, as DbfTable decodes them).
void AppendXmlEscaped(std::string& out, std::string_view utf8);
void AppendHtmlEscaped(std::string& out, std::string_view utf8);

// Text placed inside <![CDATA[ ... ]]>: every "]]>" is split across two sections
// so the section cannot end early; forbidden control characters are dropped.
std::string CdataSafe(std::string_view text);

}  // namespace tessaly
