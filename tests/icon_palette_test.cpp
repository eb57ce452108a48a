#include "engine/icon_palette.h"

#include <gtest/gtest.h>

#include <set>

namespace tessaly {
namespace {

class IconPalette : public ::testing::Test {
protected:
    void SetUp() override { icons.LoadPalette(); }
    TGEIconList icons;
};

TEST_F(IconPalette, TheDefaultIconIsAPlainAddress) {
    EXPECT_EQ(icons.Href(1), "<href>http://maps.google.com/mapfiles/kml/pal3/icon63.png</href>");
}

TEST_F(IconPalette, PaletteCellsGiveOnlyTheirNonZeroOffsets) {
    EXPECT_EQ(icons.Href(2), "<href>root://icons/palette-4.png</href><gx:x>160</gx:x><gx:y>128</gx:y><gx:w>32</gx:w><gx:h>32</gx:h>");
    EXPECT_EQ(icons.Href(114), "<href>root://icons/palette-5.png</href><gx:x>192</gx:x><gx:y>192</gx:y><gx:w>32</gx:w><gx:h>32</gx:h>");
    EXPECT_EQ(icons.Href(61), "<href>root://icons/palette-2.png</href><gx:w>32</gx:w><gx:h>32</gx:h>");
    EXPECT_EQ(icons.Href(4), "<href>root://icons/palette-3.png</href><gx:w>32</gx:w><gx:h>32</gx:h>");
    EXPECT_EQ(icons.Href(18), "<href>root://icons/palette-4.png</href><gx:x>128</gx:x><gx:w>32</gx:w><gx:h>32</gx:h>");
    EXPECT_EQ(icons.Href(163), "<href>root://icons/palette-3.png</href><gx:x>32</gx:x><gx:y>128</gx:y><gx:w>32</gx:w><gx:h>32</gx:h>");
}

TEST_F(IconPalette, ExactlyThreeCellsAppearTwice) {
    ASSERT_EQ(icons.Count(), 163);
    EXPECT_EQ(icons.Href(18), icons.Href(126));
    EXPECT_EQ(icons.Href(80), icons.Href(90));
    EXPECT_EQ(icons.Href(89), icons.Href(99));
    std::set<std::string> distinct;
    for (int i = 1; i <= 163; ++i) distinct.insert(icons.Href(i));
    EXPECT_EQ(distinct.size(), 160u);
}

TEST_F(IconPalette, NumbersOutsideThePaletteAreRefused) {
    EXPECT_THROW(icons.Href(0), std::out_of_range);
    EXPECT_THROW(icons.Href(164), std::out_of_range);
    EXPECT_THROW(icons.Href(-1), std::out_of_range);
    icons.Clear();
    EXPECT_THROW(icons.Href(1), std::out_of_range);
}

}  // namespace
}  // namespace tessaly
