#include "engine/kml_document.h"

#include "engine/icon_pictures.h"
#include "engine/kml_text.h"
#include "engine/maker_site.h"
#include "input/number_text.h"
#include "input/shape_type.h"

namespace tessaly {

namespace {

std::string Suffix(int n) { return n == 0 ? std::string() : std::to_string(n); }

constexpr const char* kKmlNamespace = "http://www.opengis.net/kml/2.2";
constexpr const char* kGoogleExtensionNamespace = "http://www.google.com/kml/ext/2.2";

}  // namespace

KmlDocumentWriter::KmlDocumentWriter(OutputFile& out, TKml& kml, const TEngineState& state,
                                     const TSymbolList& symbols, const TBalloon& balloon,
                                     const TGEIconList& icons, std::uint8_t inputShapeClass)
    : out_(out), kml_(kml), state_(state), symbols_(symbols), balloon_(balloon), icons_(icons),
      inputShapeClass_(inputShapeClass), archive_(IsKmzPath(out.Target())) {}

bool KmlDocumentWriter::NamesPaletteCells() const {
    auto cells = [this](const TItemSym& s) { return s.IconIndex != 1 || (kml_.RollOver && s.RollOverIcon != 1); };
    if (cells(symbols_.DefaultSymbol())) return true;
    if (symbols_.Kind != kUniqueValues && symbols_.Kind != kGraduated) return false;
    for (int n = 1; n <= symbols_.Count(); ++n)
        if (cells(symbols_.Item(n))) return true;
    return false;
}

void KmlDocumentWriter::WriteHeader(std::string_view schema) {
    WriteText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    std::string root = std::string("<kml xmlns=\"") + kKmlNamespace + "\"";
    if (NamesPaletteCells()) root += std::string(" xmlns:gx=\"") + kGoogleExtensionNamespace + "\"";
    WriteText(root + ">");
    WriteText("<Document><name>" + XmlEscape(kml_.DocumentName) + "</name>");
    const std::string legend = "<Snippet>Legend: " + XmlEscape(LegendText()) + "</Snippet>";
    // The legend is the snippet of the document with class folders, else of the
    // "Features" folder; a snippet comes before the styles of its container.
    if (kml_.CreateFolders) WriteText(legend);
    const bool single = symbols_.Kind != kUniqueValues && symbols_.Kind != kGraduated;
    // The default symbol's styles belong to the "Features" folder, or to the "Other
    // values" and "No value" folders; tiles find every style in the head.
    if (!kml_.CreateFolders || kml_.Regions) WriteClassStyles(0);
    if (!single)
        for (int n = 1; n <= symbols_.Count(); ++n) WriteClassStyles(n);
    WriteText(schema);
    if (!kml_.CreateFolders)
        WriteText("<Folder><name>Features</name><visibility>1</visibility><open>0</open>" + legend);
}

std::string KmlDocumentWriter::LegendText() const {
    if (symbols_.Kind == kUniqueValues) return "Unique Value [" + symbols_.FieldName() + "]";
    if (symbols_.Kind == kGraduated)
        return "Graduate Value [" + symbols_.FieldName() +
               (symbols_.NormField().empty() ? "" : "/" + symbols_.NormField()) + "]";
    return "Single Symbol";
}

void KmlDocumentWriter::LoadClassStyle(const TItemSym& s) {
    kml_.LineColor = s.LineColor;
    kml_.LineWidth = s.LineWidth;
    kml_.LineOpacity = s.LineOpacity;
    kml_.FillColor = s.FillColor;
    kml_.FillOpacity = s.FillOpacity;
    kml_.FillMode = s.FillMode;
    kml_.IconColorText = KmlColor(s.IconColor, s.IconOpacity);
    iconNumber_ = s.IconIndex;
    rollOverNumber_ = s.RollOverIcon;
    kml_.IconHref = IconHref(iconNumber_);
    kml_.RollOverIconHref = IconHref(rollOverNumber_);
    kml_.IconScaleText = FormatNumber(1, 1, s.Scale());
}

std::string KmlDocumentWriter::IconHref(int n) const {
    return archive_ ? "<href>" + icons_.ArchivePath(n) + "</href>" : icons_.Href(n);
}

void KmlDocumentWriter::CarryIcon(int n) {
    if (archive_) out_.AddArchiveFile(icons_.ArchivePath(n), IconPicture(n));
}

void KmlDocumentWriter::WriteFillModeElements() {
    if (kml_.FillMode == 1) WriteText("<outline>0</outline>");
    if (kml_.FillMode == 2) WriteText("<fill>0</fill>");
}

std::string KmlDocumentWriter::BalloonStyle() const {
    return "<BalloonStyle ><bgColor>" + KmlColor(balloon_.BalloonColor, 100) +
           "</bgColor><text>$[description]</text></BalloonStyle>";
}

void KmlDocumentWriter::WriteMapitStyle() {
    CarryIcon(iconNumber_);
    WriteText("<Style id=\"Mapit\"><IconStyle><color>" + kml_.IconColorText + "</color><scale>" +
              kml_.IconScaleText + "</scale><Icon>" + kml_.IconHref + "  </Icon></IconStyle>");
    if (!kml_.LabelAlways) WriteText("<LabelStyle><scale>0</scale></LabelStyle>");
    WriteText(BalloonStyle() + "</Style>");
}

void KmlDocumentWriter::WriteHighlightStyle(const std::string& s) {
    CarryIcon(rollOverNumber_);
    WriteText("<Style id=\"zh" + s + "\"><IconStyle><color>" + kml_.IconColorText + "</color><scale>" +
              kml_.IconScaleText + "</scale><Icon>" + kml_.RollOverIconHref + "</Icon></IconStyle>");
    // Labels shown always stay shown under the mouse; only "Never" hides them here.
    if (!kml_.LabelRollOver && !kml_.LabelAlways) WriteText("<LabelStyle><scale>0</scale></LabelStyle>");
    WriteText("<LineStyle>");
    if (kml_.RollOverChangeColor)
        WriteText("<color>" + KmlColor(kml_.RollOverColor, kml_.LineOpacity) + "</color><width>" +
                  std::to_string(2 * kml_.LineWidth) + "</width></LineStyle><PolyStyle><color>" +
                  KmlColor(kml_.RollOverColor, kml_.FillOpacity) + "</color>");
    else
        WriteText("<color>" + KmlColor(kml_.LineColor, kml_.LineOpacity) + "</color><width>" +
                  std::to_string(kml_.LineWidth) + "</width></LineStyle><PolyStyle><color>" +
                  KmlColor(kml_.FillColor, kml_.FillOpacity) + "</color>");
    WriteFillModeElements();
    WriteText("</PolyStyle></Style>");
}

void KmlDocumentWriter::WriteClassStyles(int n) {
    const std::string s = Suffix(n);
    if (n >= 1) {
        LoadClassStyle(symbols_.Item(n));
    } else {
        LoadClassStyle(symbols_.DefaultSymbol());
        WriteMapitStyle();
    }
    if (kml_.RollOver) WriteHighlightStyle(s);
    WriteText(std::string("<Style id=\"") + (kml_.RollOver ? "zn" : "tessaly") + s + "\">");
    // Lines and polygons without centroids show their label at the class's icon,
    // tinted with the fill colour.
    if (!kml_.Centroid && (inputShapeClass_ == kLineClass || inputShapeClass_ == kPolygonClass))
        kml_.IconColorText = KmlColor(kml_.FillColor, kml_.FillOpacity);
    CarryIcon(iconNumber_);
    WriteText("<IconStyle><color>" + kml_.IconColorText + "</color><scale>" + kml_.IconScaleText +
              "</scale><Icon>" + kml_.IconHref + "</Icon></IconStyle>");
    if (!kml_.LabelAlways) WriteText("<LabelStyle><scale>0</scale></LabelStyle>");
    WriteText("<LineStyle><color>" + KmlColor(kml_.LineColor, kml_.LineOpacity) + "</color><width>" +
              std::to_string(kml_.LineWidth) + "</width></LineStyle>");
    WriteText("<PolyStyle><color>" + KmlColor(kml_.FillColor, kml_.FillOpacity) + "</color>");
    WriteFillModeElements();
    WriteText("</PolyStyle>" + BalloonStyle() + "</Style>");
    if (kml_.RollOver)
        WriteText("<StyleMap id=\"MapRollOver" + s + "\"><Pair><key>normal</key><styleUrl>#zn" + s +
                  "</styleUrl></Pair><Pair><key>highlight</key><styleUrl>#zh" + s +
                  "</styleUrl></Pair></StyleMap>");
}

void KmlDocumentWriter::SetStyleUrl(int n) {
    kml_.StyleId = (kml_.RollOver ? "MapRollOver" : "tessaly") + Suffix(n);
    // Tiles find every style in the main document.
    kml_.StyleUrlElement =
        "<styleUrl>" + std::string(kml_.Regions ? kKmzDocument : "") + "#" + kml_.StyleId + "</styleUrl>";
}

void KmlDocumentWriter::WriteTrailer(const std::string& description) {
    if (!kml_.CreateFolders) WriteText("</Folder>");
    std::string info = "<Folder><name>Info</name><Snippet></Snippet><description><![CDATA[" +
                       CdataSafe(description) + "<br>Legend: " + HtmlEscape(LegendText());
    if (!state_.LabelField.empty()) info += "<br>Label: " + HtmlEscape(state_.LabelField);
    info += "<br><br><hr>RazidEdar ed Ozazar Uvizi";
    info += std::string("<p><font color=\"blue\"><b>Powered by Brantel Solutions</b><br> <i>") + kMakerSite +
            "</i></font></p>";
    info += "]]></description><Style><BalloonStyle ><text>$[description]</text></BalloonStyle></Style>"
            "</Folder></Document></kml>";
    WriteText(info);
}

}  // namespace tessaly
