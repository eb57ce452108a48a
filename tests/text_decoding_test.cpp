#include "input/text_decoding.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(TextDecoding, CpgNamesInTheirUsualSpellings) {
    EXPECT_EQ(TextDecoder::FromCpgText("UTF-8").Name(), "UTF-8");
    EXPECT_EQ(TextDecoder::FromCpgText("utf8\r\n").Name(), "UTF-8");
    EXPECT_EQ(TextDecoder::FromCpgText("65001").Name(), "UTF-8");
    EXPECT_EQ(TextDecoder::FromCpgText("1252").Name(), "cp1252");
    EXPECT_EQ(TextDecoder::FromCpgText("CP1251").Name(), "cp1251");
    EXPECT_EQ(TextDecoder::FromCpgText("Windows-1250").Name(), "cp1250");
    EXPECT_EQ(TextDecoder::FromCpgText("ISO-8859-1").Name(), "iso8859_1");
    EXPECT_EQ(TextDecoder::FromCpgText("88591").Name(), "iso8859_1");
    EXPECT_EQ(TextDecoder::FromCpgText("ISO 8859-15").Name(), "iso8859_15");
    EXPECT_EQ(TextDecoder::FromCpgText("OEM 850").Name(), "cp850");
    EXPECT_EQ(TextDecoder::FromCpgText("no such page").Name(), "cp1252");
    EXPECT_EQ(TextDecoder::FromCpgText("").Name(), "cp1252");
}

TEST(TextDecoding, LanguageBytes) {
    EXPECT_EQ(TextDecoder::FromLanguageByte(0x57).Name(), "cp1252");
    EXPECT_EQ(TextDecoder::FromLanguageByte(0x01).Name(), "cp437");
    EXPECT_EQ(TextDecoder::FromLanguageByte(0x02).Name(), "cp850");
    EXPECT_EQ(TextDecoder::FromLanguageByte(0xC9).Name(), "cp1251");
    EXPECT_EQ(TextDecoder::FromLanguageByte(0x00).Name(), "cp1252");
    EXPECT_EQ(TextDecoder::FromLanguageByte(0xEE).Name(), "cp1252");
}

TEST(TextDecoding, SingleByteCodePages) {
    EXPECT_EQ(TextDecoder().Decode("M\xE9xico \x80 \xF8"), "M\xC3\xA9xico \xE2\x82\xAC \xC3\xB8");
    EXPECT_EQ(TextDecoder::FromCpgText("ISO-8859-1").Decode("\x80\xE9"), "\xC2\x80\xC3\xA9");
    EXPECT_EQ(TextDecoder::FromCpgText("1251").Decode("\xCC\xEE\xF1\xEA\xE2\xE0"),
              "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0");  // Москва
    EXPECT_EQ(TextDecoder::FromLanguageByte(0x01).Decode("\x81"), "\xC3\xBC");  // ü in cp437
}

TEST(TextDecoding, Utf8TablesPassValidTextAndRescueStrayBytes) {
    const TextDecoder utf8 = TextDecoder::FromCpgText("UTF-8");
    EXPECT_EQ(utf8.Decode("\xE2\x98\x83 snow"), "\xE2\x98\x83 snow");
    // A Latin-1 byte in a table that claims UTF-8, a cut sequence, an overlong form
    // and an encoded surrogate: each byte is read as Windows-1252 instead.
    EXPECT_EQ(utf8.Decode("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(utf8.Decode("\xE2\x98"), "\xC3\xA2\xCB\x9C");
    EXPECT_EQ(utf8.Decode("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(utf8.Decode("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
}

}  // namespace
}  // namespace tessaly
