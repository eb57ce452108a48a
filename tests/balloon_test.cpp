// The balloon description of a placemark.

#include "engine/balloon.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// The balloon as the wizard sets it up at start-up.
TBalloon WizardBalloon() {
    TBalloon b;
    b.BalloonColor = 0xFFFFFF;
    b.Width = 250;
    b.FieldBackground = 13296099;
    b.ValueBackground = 13297380;
    b.FieldFontColor = 0;
    b.ValueFontColor = 32768;
    return b;
}

// The description is appended to the placemark text already built.
std::string Describe(const TBalloon& b, const std::vector<std::string_view>& values) {
    std::string out = "<name>1</name>";
    BalloonMarkup(b).Append(out, values);
    EXPECT_EQ(out.rfind("<name>1</name>", 0), 0u);
    return out.substr(14);
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

TEST(Balloon, ResetRestoresDefaultsButKeepsTheTitle) {
    TBalloon b = WizardBalloon();
    b.Title = "Parcel";
    b.ShowBorders = true;
    b.AddField("NAME");
    b.Reset();
    EXPECT_EQ(b.Title, "Parcel");
    EXPECT_FALSE(b.HasFields() || b.ShowBorders);
    EXPECT_EQ(b.Width, 400);
    EXPECT_EQ(b.ValueBackground, 65535u);
    EXPECT_EQ(b.ValueFontColor, 16711680u);
}

TEST(Balloon, NoFieldsMeansNoDescriptionEvenWithATitle) {
    TBalloon b = WizardBalloon();
    b.Title = "Parcel";
    EXPECT_EQ(Describe(b, {}), "");
}

TEST(Balloon, OneFieldTableWithTitle) {
    TBalloon b = WizardBalloon();
    b.Title = "Parcel";
    b.AddField("NAME");
    EXPECT_EQ(Describe(b, {"Lima"}),
              "<description><![CDATA[Parcel<br><table border=0 cellpadding=0 cellspacing=0  width=250"
              " style=\"FONT-SIZE: 11px; FONT-FAMILY: Verdana, Arial, Helvetica, sans-serif;\">"
              "<tr><td bgcolor=\"#E3E1CA\" align=\"right\"><font COLOR=\"#000000\"><b>NAME</b></font></td>"
              "<td bgcolor=\"#E4E6CA\"> <font COLOR=\"#008000\">Lima</font></td></tr>"
              "</table>]]></description>");
}

TEST(Balloon, BordersUseTheBorderColourAndRowsFollowTheFieldOrder) {
    TBalloon b = WizardBalloon();
    b.ShowBorders = true;
    b.BorderColor = 255;
    b.AddField("B");
    b.AddField("A");
    const std::string d = Describe(b, {"2", "1"});
    EXPECT_EQ(d.rfind("<description><![CDATA[<table border=1 style=\"border-collapse:collapse; "
                      "border-color:#FF0000;\" cellpadding=0 cellspacing=0  width=250 style=",
                      0),
              0u)
        << d;
    const std::size_t first = d.find("<b>B</b></font></td><td bgcolor=\"#E4E6CA\"> <font COLOR=\"#008000\">2<");
    const std::size_t second = d.find("<b>A</b></font></td><td bgcolor=\"#E4E6CA\"> <font COLOR=\"#008000\">1<");
    ASSERT_NE(first, std::string::npos) << d;
    ASSERT_NE(second, std::string::npos) << d;
    EXPECT_LT(first, second);
}

TEST(Balloon, NamesAndValuesShowLiterallyWhileTheTitleStaysHtml) {
    TBalloon b = WizardBalloon();
    b.Title = "<b>Lots</b> ]]> here";
    b.AddField("A&B");
    b.AddField("<5");
    const std::string d = Describe(b, {"AT&T", "x]]>y"});
    EXPECT_NE(d.find("CDATA[<b>Lots</b> ]]]]><![CDATA[> here<br><table "), std::string::npos) << d;
    EXPECT_NE(d.find("<b>A&amp;B</b>"), std::string::npos) << d;
    EXPECT_NE(d.find("<b>&lt;5</b>"), std::string::npos) << d;
    EXPECT_NE(d.find(">AT&amp;T</font>"), std::string::npos) << d;
    EXPECT_NE(d.find(">x]]&gt;y</font>"), std::string::npos) << d;
    // Besides the title's split, the only section end is the real one.
    EXPECT_EQ(Count(d, "]]>"), 2);
    EXPECT_TRUE(d.ends_with("</table>]]></description>"));
}

}  // namespace
}  // namespace tessaly
