// Colours and escaping of the document's texts.

#include "engine/kml_text.h"

#include "input/text_decoding.h"

#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tessaly {
namespace {

TEST(KmlText, KmlColorCutsTheAlphaAndOrdersBlueGreenRed) {
    EXPECT_EQ(KmlColor(255, 80), "CC0000FF");
    EXPECT_EQ(KmlColor(16711680, 60), "99FF0000");
    EXPECT_EQ(KmlColor(0xFFFFFF, 100), "FFFFFFFF");
    EXPECT_EQ(KmlColor(0x123456, 0), "00123456");
    EXPECT_EQ(KmlColor(0x123456, 10), "19123456");  // 25.5 is cut, not rounded
    EXPECT_EQ(KmlColor(0x123456, 50), "7F123456");
    EXPECT_EQ(KmlColor(0x123456, 101), "FF123456");
    EXPECT_EQ(KmlColor(0x123456, 255), "FF123456");
    // Only the low three bytes are a colour.
    EXPECT_EQ(KmlColor(0xAB0000FF, 100), "FF0000FF");
}

// Table texts are escaped without being checked as UTF-8 again: whatever byte a
// table holds, in any code page, decodes to text that such a check leaves alone.
TEST(KmlText, DecodedTableTextsEscapeAsAnyText) {
    for (const TextDecoder& decoder : {TextDecoder::FromCpgText("UTF-8"), TextDecoder::FromCpgText("1252"),
                                       TextDecoder::FromCpgText("1251"), TextDecoder::FromLanguageByte(0x01),
                                       TextDecoder::FromCpgText("8859-7")}) {
        for (int b = 1; b < 256; ++b) {
            // The byte alone, and after the lead byte of a two-byte UTF-8 sequence.
            for (const std::string bytes : {std::string(1, static_cast<char>(b)), "\xC3" + std::string(1, static_cast<char>(b))}) {
                const std::string text = decoder.Decode(bytes);
                std::string escaped = "<";
                AppendHtmlEscaped(escaped, text);
                EXPECT_EQ(escaped, "<" + HtmlEscape(text)) << decoder.Name() << ", byte " << b;
                escaped = "<";
                AppendXmlEscaped(escaped, text);
                EXPECT_EQ(escaped, "<" + XmlEscape(text)) << decoder.Name() << ", byte " << b;
            }
        }
    }
}

TEST(KmlText, HtmlColorIsRedGreenBlueWithoutHash) {
    EXPECT_EQ(HtmlColor(13296099), "E3E1CA");
    EXPECT_EQ(HtmlColor(13297380), "E4E6CA");
    EXPECT_EQ(HtmlColor(32768), "008000");
    EXPECT_EQ(HtmlColor(255), "FF0000");
    EXPECT_EQ(HtmlColor(0), "000000");
}

TEST(KmlText, EscapingMakesMarkupLiteral) {
    EXPECT_EQ(XmlEscape("A&B <x>"), "A&amp;B &lt;x&gt;");
    EXPECT_EQ(XmlEscape("say \"hi\"\tnow"), "say \"hi\"\tnow");
    EXPECT_EQ(XmlEscape("a\x01" "b\x1F" "c\n"), "abc\n");
    EXPECT_EQ(XmlEscape("Zürich"), "Zürich");
    EXPECT_EQ(HtmlEscape("AT&T"), "AT&amp;T");
    EXPECT_EQ(HtmlEscape("<5 \"q\""), "&lt;5 &quot;q&quot;");
    // Already escaped text is escaped again, so "&amp;" shows as typed.
    EXPECT_EQ(HtmlEscape("&amp;"), "&amp;amp;");
}

TEST(KmlText, CdataSafeTextReadsBackUnchanged) {
    EXPECT_EQ(CdataSafe("<b>raw</b>"), "<b>raw</b>");
    EXPECT_EQ(CdataSafe("a]]>b"), "a]]]]><![CDATA[>b");
    // Every awkward run survives a round trip through a real XML parser.
    const test::TempDir dir;
    const std::string texts[] = {"a]]>b", "]]>", "]]]>>", "x]]>]]>y", "]]", "<i>&amp;</i>"};
    for (const std::string& text : texts) {
        const auto path = dir / "cdata.xml";
        std::ofstream(path, std::ios::binary) << "<r><![CDATA[" << CdataSafe(text) << "]]></r>";
        const auto r = test::RunCommand("xmllint --xpath 'string(/r)' '" + path.string() + "' 2>&1");
        EXPECT_EQ(r.status, 0) << text;
        EXPECT_EQ(r.output, text + "\n");  // xmllint ends the string with a line break
    }
    EXPECT_EQ(CdataSafe("a\x02" "b"), "ab");
}

}  // namespace
}  // namespace tessaly
