// The document head with its class styles, the style references and the trailer,
// written to a real file and read back.

#include "engine/kml_document.h"

#include "engine/kml_text.h"
#include "engine/placemark_writer.h"
#include "input/datum_catalogue.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace tessaly {
namespace {

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

class Document : public ::testing::Test {
protected:
    void SetUp() override {
        icons.LoadPalette();
        balloon.BalloonColor = 0xFFFFFF;
        kml.DocumentName = "Doc";
        symbols.Kind = kSingleSymbol;
    }
    void AddClasses(std::uint8_t kind, int count) {
        symbols.Kind = kind;
        symbols.SetFieldName("NAME");
        for (int i = 1; i <= count; ++i) symbols.AddItem().ValueText = "v" + std::to_string(i);
    }
    // The file as the writer leaves it.
    std::string Write(const std::function<void(KmlDocumentWriter&)>& body, std::uint8_t shapeClass = 1) {
        const auto path = dir / "out.kml";
        {
            OutputFile out(path.string());
            KmlDocumentWriter writer(out, kml, state, symbols, balloon, icons, shapeClass);
            body(writer);
            out.Commit();
        }
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string Styles(int n, std::uint8_t shapeClass = 1) {
        return Write([n](KmlDocumentWriter& w) { w.WriteClassStyles(n); }, shapeClass);
    }
    const test::TempDir dir;
    TKml kml;
    TEngineState state;
    TSymbolList symbols;
    TBalloon balloon;
    TGEIconList icons;
};

constexpr const char* kIcon114 =
    "<href>root://icons/palette-5.png</href><gx:x>192</gx:x><gx:y>192</gx:y><gx:w>32</gx:w><gx:h>32</gx:h>";
constexpr const char* kBalloonStyle = "<BalloonStyle ><bgColor>FFFFFFFF</bgColor><text>$[description]</text></BalloonStyle>";

TEST_F(Document, FactoryDefaultSymbolGivesMapitAndTessalyStyles) {
    EXPECT_EQ(Styles(0), std::string("<Style id=\"Mapit\"><IconStyle><color>FFFFFFFF</color><scale>1.0</scale><Icon>") +
                             kIcon114 + "  </Icon></IconStyle><LabelStyle><scale>0</scale></LabelStyle>" +
                             kBalloonStyle + "</Style>" +
                             "<Style id=\"tessaly\"><IconStyle><color>FFFFFFFF</color><scale>1.0</scale><Icon>" +
                             kIcon114 + "</Icon></IconStyle><LabelStyle><scale>0</scale></LabelStyle>" +
                             "<LineStyle><color>FFFF0000</color><width>1</width></LineStyle>"
                             "<PolyStyle><color>FFFFCA95</color></PolyStyle>" +
                             kBalloonStyle + "</Style>");
}

TEST_F(Document, SingleSymbolHeadOpensTheFeaturesFolder) {
    kml.DocumentName = "A&B <x>";
    const std::string doc = Write([](KmlDocumentWriter& w) { w.WriteHeader(); });
    EXPECT_EQ(doc.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?><kml xmlns=\"http://www.opengis.net/kml/2.2\" "
                        "xmlns:gx=\"http://www.google.com/kml/ext/2.2\"><Document><name>A&amp;B &lt;x&gt;</name>"
                        "<Style id=\"Mapit\">",
                        0),
              0u)
        << doc;
    EXPECT_LT(doc.find("id=\"Mapit\""), doc.find("id=\"tessaly\""));
    EXPECT_EQ(Count(doc, "<Style id="), 2);
    EXPECT_TRUE(doc.ends_with("</Style><Folder><name>Features</name><visibility>1</visibility><open>0</open>"
                              "<Snippet>Legend: Single Symbol</Snippet>"))
        << doc;
    kml.RollOver = true;
    Write([](KmlDocumentWriter& w) { w.SetStyleUrl(0); });
    EXPECT_EQ(kml.StyleUrlElement, "<styleUrl>#MapRollOver</styleUrl>");
    kml.RollOver = false;
    Write([](KmlDocumentWriter& w) { w.SetStyleUrl(0); });
    EXPECT_EQ(kml.StyleUrlElement, "<styleUrl>#tessaly</styleUrl>");
}

TEST_F(Document, RollOverStyleIdsOncePerClassWithOrWithoutFolders) {
    AddClasses(kUniqueValues, 3);
    kml.RollOver = true;
    const std::string flat = Write([](KmlDocumentWriter& w) { w.WriteHeader(); });
    for (const char* id : {"Mapit", "zh", "zn", "MapRollOver", "zh1", "zn1", "MapRollOver1", "zh2", "zn2",
                           "MapRollOver2", "zh3", "zn3", "MapRollOver3"})
        EXPECT_EQ(Count(flat, std::string("id=\"") + id + "\""), 1) << id;
    EXPECT_EQ(Count(flat, "id=\""), 13);
    EXPECT_LT(flat.find("id=\"zh\""), flat.find("id=\"zn\""));
    EXPECT_LT(flat.find("id=\"zn\""), flat.find("id=\"MapRollOver\""));
    EXPECT_LT(flat.find("id=\"MapRollOver\""), flat.find("id=\"zh1\""));
    EXPECT_LT(flat.find("id=\"MapRollOver2\""), flat.find("id=\"zh3\""));
    EXPECT_NE(flat.find("<StyleMap id=\"MapRollOver2\"><Pair><key>normal</key><styleUrl>#zn2</styleUrl></Pair>"
                        "<Pair><key>highlight</key><styleUrl>#zh2</styleUrl></Pair></StyleMap>"),
              std::string::npos);

    kml.CreateFolders = true;
    const std::string folders = Write([](KmlDocumentWriter& w) { w.WriteHeader(); });
    EXPECT_EQ(Count(folders, "Features"), 0);
    // The document's own legend comes before its styles.
    EXPECT_NE(folders.find("</name><Snippet>Legend: Unique Value [NAME]</Snippet><Style id=\"zh1\">"),
              std::string::npos)
        << folders;
    for (const char* id : {"Mapit", "zh", "zn", "MapRollOver"})
        EXPECT_EQ(Count(folders, std::string("id=\"") + id + "\""), 0) << id;
    EXPECT_EQ(Count(folders, "id=\""), 9);
    Write([](KmlDocumentWriter& w) { w.SetStyleUrl(2); });
    EXPECT_EQ(kml.StyleUrlElement, "<styleUrl>#MapRollOver2</styleUrl>");
}

TEST_F(Document, RollOverOffGivesOneTessalyStylePerClass) {
    AddClasses(kGraduated, 2);
    const std::string doc = Write([](KmlDocumentWriter& w) { w.WriteHeader(); });
    for (const char* id : {"Mapit", "tessaly", "tessaly1", "tessaly2"})
        EXPECT_EQ(Count(doc, std::string("id=\"") + id + "\""), 1) << id;
    EXPECT_EQ(Count(doc, "zh"), 0);
    EXPECT_EQ(Count(doc, "StyleMap"), 0);
}

TEST_F(Document, LinesWithoutCentroidsShowTheClassIconInTheFillColour) {
    symbols.DefaultSymbol().SetIconStyle(114, 2, 0x00FF00, 50);
    symbols.DefaultSymbol().SetFillStyle(0x0000FF, 60);
    kml.RollOver = true;
    const std::string doc = Styles(0, 2);
    const std::string normal = "id=\"zn\"><IconStyle><color>990000FF</color><scale>1.0</scale><Icon>" +
                               icons.Href(114) + "</Icon>";
    EXPECT_NE(doc.find(normal), std::string::npos) << doc;
    EXPECT_NE(doc.find("id=\"zh\"><IconStyle><color>7F00FF00</color><scale>1.0</scale><Icon>" + icons.Href(2) +
                       "</Icon>"),
              std::string::npos)
        << doc;
    EXPECT_NE(Styles(0, 3).find(normal), std::string::npos);  // polygons likewise
    EXPECT_EQ(Styles(0, 1).find(normal), std::string::npos);  // points keep their icon colour
    kml.Centroid = true;
    EXPECT_EQ(Styles(0, 2).find(normal), std::string::npos);  // and so do centroids
}

// Google's extension namespace is declared when a style may name a palette cell.
TEST_F(Document, ExtensionNamespaceOnlyForPaletteCells) {
    const std::string gx = "xmlns:gx=";
    auto head = [this] { return Write([](KmlDocumentWriter& w) { w.WriteHeader(); }); };
    symbols.DefaultSymbol().IconIndex = 1;
    symbols.DefaultSymbol().RollOverIcon = 114;
    EXPECT_EQ(Count(head(), gx), 0);
    kml.RollOver = true;
    EXPECT_EQ(Count(head(), gx), 1);
    kml.RollOver = false;
    AddClasses(kUniqueValues, 2);
    symbols.Item(1).IconIndex = 1;
    symbols.Item(2).IconIndex = 1;
    EXPECT_EQ(Count(head(), gx), 0);
    symbols.Item(2).IconIndex = 5;
    EXPECT_EQ(Count(head(), gx), 1);
}

TEST_F(Document, HighlightStyleDoublesTheWidthInTheRollOverColour) {
    symbols.DefaultSymbol().SetLineStyle(0x00FF00, 3, 80);
    symbols.DefaultSymbol().SetFillStyle(0x0000FF, 60);
    kml.RollOver = true;
    kml.RollOverColor = 0xFFFF00;
    kml.RollOverChangeColor = true;
    const std::string changed = Styles(0);
    EXPECT_NE(changed.find("<LineStyle><color>CCFFFF00</color><width>6</width></LineStyle>"
                           "<PolyStyle><color>99FFFF00</color></PolyStyle></Style><Style id=\"zn\">"),
              std::string::npos)
        << changed;
    EXPECT_NE(changed.find("<LineStyle><color>CC00FF00</color><width>3</width></LineStyle>"
                           "<PolyStyle><color>990000FF</color></PolyStyle><BalloonStyle >"),
              std::string::npos)
        << changed;
    kml.RollOverChangeColor = false;
    const std::string plain = Styles(0);
    EXPECT_EQ(Count(plain, "<LineStyle><color>CC00FF00</color><width>3</width></LineStyle>"
                           "<PolyStyle><color>990000FF</color></PolyStyle>"),
              2);
    EXPECT_EQ(Count(plain, "FFFF00"), 0);
}

TEST_F(Document, FillModeAndLabelChoicesShapeTheStyles) {
    kml.RollOver = true;
    symbols.DefaultSymbol().FillMode = 1;
    EXPECT_EQ(Count(Styles(0), "</color><outline>0</outline></PolyStyle>"), 2);
    symbols.DefaultSymbol().FillMode = 2;
    const std::string outlined = Styles(0);
    EXPECT_EQ(Count(outlined, "</color><fill>0</fill></PolyStyle>"), 2);
    EXPECT_EQ(Count(outlined, "<outline>"), 0);
    symbols.DefaultSymbol().FillMode = 3;
    const std::string both = Styles(0);
    EXPECT_EQ(Count(both, "<fill>") + Count(both, "<outline>"), 0);
    // Mapit, zh and zn each hide the label by default.
    EXPECT_EQ(Count(both, "<LabelStyle><scale>0</scale></LabelStyle>"), 3);
    // "Always" labels show in the normal and the highlight style alike, with or
    // without the roll-over effect.
    kml.LabelAlways = true;
    EXPECT_EQ(Count(Styles(0), "<LabelStyle>"), 0);
    kml.RollOver = false;
    EXPECT_EQ(Count(Styles(0), "<LabelStyle>"), 0);
    kml.RollOver = true;
    kml.LabelAlways = false;
    kml.LabelRollOver = true;
    const std::string rollOver = Styles(0);
    EXPECT_EQ(Count(rollOver, "<LabelStyle>"), 2);
    EXPECT_EQ(Count(rollOver.substr(rollOver.find("id=\"zh\""), rollOver.find("id=\"zn\"") -
                                                                   rollOver.find("id=\"zh\"")),
                    "<LabelStyle>"),
              0);
}

TEST_F(Document, LegendNamesTheClassification) {
    auto legend = [this] {
        std::string text;
        Write([&text](KmlDocumentWriter& w) { text = w.LegendText(); });
        return text;
    };
    symbols.Kind = 0;
    EXPECT_EQ(legend(), "Single Symbol");
    symbols.Kind = kUniqueValues;
    symbols.SetFieldName("NAME");
    EXPECT_EQ(legend(), "Unique Value [NAME]");
    symbols.Kind = kGraduated;
    EXPECT_EQ(legend(), "Graduate Value [NAME]");
    symbols.SetNormField("AREA");
    EXPECT_EQ(legend(), "Graduate Value [NAME/AREA]");
}

TEST_F(Document, TrailerClosesFeaturesAndCarriesTheInfoFolder) {
    state.LabelField = "NAME";
    const std::string doc = Write([](KmlDocumentWriter& w) { w.WriteTrailer("Source File: a.shp"); });
    EXPECT_EQ(doc,
              "</Folder><Folder><name>Info</name><Snippet></Snippet><description><![CDATA[Source File: a.shp"
              "<br>Legend: Single Symbol<br>Label: NAME<br><br><hr>RazidEdar ed Ozazar Uvizi<p><font color=\"blue\">"
              "<b>Powered by Brantel Solutions</b><br> <i>http://www.tessaly.net</i></font></p>]]></description>"
              "<Style><BalloonStyle ><text>$[description]</text></BalloonStyle></Style></Folder></Document></kml>");
    kml.CreateFolders = true;
    state.LabelField.clear();
    symbols.Kind = kGraduated;
    symbols.SetFieldName("POP");
    symbols.SetNormField("AREA");
    const std::string folders = Write([](KmlDocumentWriter& w) { w.WriteTrailer("x"); });
    EXPECT_EQ(folders.rfind("<Folder><name>Info</name>", 0), 0u);
    EXPECT_NE(folders.find("CDATA[x<br>Legend: Graduate Value [POP/AREA]<br><br><hr>"), std::string::npos);
    EXPECT_EQ(Count(folders, "Label:"), 0);
}

// A whole document with markup in every user text still parses, and validates.
TEST_F(Document, MarkupInNamesAndValuesKeepsTheDocumentWellFormed) {
    AddClasses(kUniqueValues, 1);
    symbols.SetFieldName("A&B");
    symbols.Item(1).ValueText = "<x> & ]]>";
    kml.DocumentName = "A&B <x>";
    kml.RollOver = true;
    kml.CreateFolders = true;
    kml.AltitudeMode = "clampToGround";
    kml.HeightText = "0";
    state.LabelField = "<L&>";
    state.CoordinateDecimals = 10;
    balloon.Title = "<b>T</b> ]]>";
    balloon.AddField("A&B");

    test::ShpBuilder shp(1);
    shp.AddPoint(12.5, -3.25);
    test::WriteBytes(dir / "p.shp", shp.Bytes());
    TFileSHP reader((dir / "p.shp").string());
    ASSERT_TRUE(reader.Open() && reader.ReadHeader());
    reader.ReadRecord();
    TDatumTool datum;
    datum.SourceDatum = kWgs1984Datum;
    datum.Prepare();
    PlacemarkWriter placemarks(kml, state, balloon, datum, reader);

    const std::string doc = Write([&](KmlDocumentWriter& w) {
        w.WriteHeader();
        w.WriteText("<Folder><name>" + XmlEscape(symbols.Item(1).ValueText) + "</name>");
        w.SetStyleUrl(1);
        std::string text;
        EXPECT_EQ(placemarks.WriteFeature(1, {"A&B <x>", {"AT&T <5 ]]> end"}, 0, {}, {}}, text), FeatureResult::Written);
        w.WriteText(text);
        w.WriteText("</Folder>");
        w.WriteTrailer("Made by <i>me</i> ]]> & co");
    });
    const auto path = dir / "doc.kml";
    std::ofstream(path, std::ios::binary) << doc;
    EXPECT_TRUE(test::ValidKml(path));
    const auto name = test::RunCommand("xmllint --xpath 'string(//*[local-name()=\"Placemark\"]/*[1])' '" +
                                       path.string() + "'");
    EXPECT_EQ(name.output, "A&B <x>\n");
}

}  // namespace
}  // namespace tessaly
