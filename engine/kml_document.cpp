#include "engine/kml_document.h"

#include "engine/icon_pictures.h"
#include "engine/kml_text.h"
#include "engine/maker_site.h"
#include "input/number_text.h"

namespace tessaly {

namespace {

std::string Suffix(int n) { return n == 0 ? std::string() : std::to_string(n); }

}  // namespace

KmlDocumentWriter::KmlDocumentWriter(OutputFile& out, TKml& kml, const TEngineState& state,
                                     const TSymbolList& symbols, const TBalloon& balloon,
                                     const TGEIconList& icons, std::uint8_t inputShapeClass)
    : out_(out), kml_(kml), state_(state), symbols_(symbols), balloon_(balloon), icons_(icons),
      inputShapeClass_(inputShapeClass), archive_(IsKmzPath(out.Target())) {}

void KmlDocumentWriter::WriteHeader() {
    WriteText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    WriteText(std::string("<kml xmlns=\"") + kKmlNamespace + "\">");
    WriteText("<Document><name>" + XmlEscape(kml_.DocumentName) + "</name>");
    const bool single = symbols_.Kind != kUniqueValues && symbols_.Kind != kGraduated;
    if (!kml_.CreateFolders) WriteClassStyles(0);
    if (!single)
        for (int n = 1; n <= symbols_.Count(); ++n) WriteClassStyles(n);
    if (!kml_.CreateFolders) WriteText("<Folder><name>Features</name>");
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

void KmlDocumentWriter::WriteMapitStyle() {
    CarryIcon(iconNumber_);
    WriteText("<Style id=\"Mapit\"><IconStyle><color>" + kml_.IconColorText + "</color><scale>" +
              kml_.IconScaleText + "</scale><Icon>" + kml_.IconHref + "  </Icon></IconStyle>");
    if (!kml_.LabelAlways) WriteText("<LabelStyle><scale>0</scale></LabelStyle>");
    WriteText("<BalloonStyle ><text>$[description]</text><color>" + KmlColor(balloon_.BalloonColor, 100) +
              "</color></BalloonStyle></Style>");
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
    // Lines and polygons without centroids show their label at a marker of the
    // program's own, tinted with the fill colour.
    if (!kml_.Centroid && (inputShapeClass_ == 2 || inputShapeClass_ == 3)) {
        kml_.IconColorText = KmlColor(kml_.FillColor, kml_.FillOpacity);
        kml_.IconHref = std::string("<href>") + kMakerMarkerIcon + "</href>";
    } else {
        CarryIcon(iconNumber_);
    }
    WriteText("<IconStyle><color>" + kml_.IconColorText + "</color><scale>" + kml_.IconScaleText +
              "</scale><Icon>" + kml_.IconHref + "</Icon></IconStyle>");
    if (!kml_.LabelAlways) WriteText("<LabelStyle><scale>0</scale></LabelStyle>");
    WriteText("<BalloonStyle ><text>$[description]</text><color>" + KmlColor(balloon_.BalloonColor, 100) +
              "</color></BalloonStyle>");
    WriteText("<LineStyle><color>" + KmlColor(kml_.LineColor, kml_.LineOpacity) + "</color><width>" +
              std::to_string(kml_.LineWidth) + "</width></LineStyle>");
    WriteText("<PolyStyle><color>" + KmlColor(kml_.FillColor, kml_.FillOpacity) + "</color>");
    WriteFillModeElements();
    WriteText("</PolyStyle></Style>");
    if (kml_.RollOver)
        WriteText("<StyleMap id=\"MapRollOver" + s + "\"><Pair><key>normal</key><styleUrl>#zn" + s +
                  "</styleUrl></Pair><Pair><key>highlight</key><styleUrl>#zh" + s +
                  "</styleUrl></Pair></StyleMap>");
}

void KmlDocumentWriter::SetStyleUrl(int n) {
    kml_.StyleId = (kml_.RollOver ? "MapRollOver" : "tessaly") + Suffix(n);
    kml_.StyleUrlElement = "<styleUrl>#" + kml_.StyleId + "</styleUrl>";
}

void KmlDocumentWriter::WriteTrailer(const std::string& description) {
    if (!kml_.CreateFolders) WriteText("</Folder>");
    WriteText("<Folder><name>Info</name><Snippet></Snippet><Style><BalloonStyle ><text>$[description]</text>"
              "</BalloonStyle></Style>");
    std::string info = "<description><![CDATA[" + CdataSafe(description) + "<br>Legend: " +
                       HtmlEscape(LegendText());
    if (!state_.LabelField.empty()) info += "<br>Label: " + HtmlEscape(state_.LabelField);
    info += "<br><br><hr>RazidEdar ed Ozazar Uvizi";
    info += std::string("<p><font color=\"blue\"><b>Powered by Brantel Solutions</b><br> <i>") + kMakerSite +
            "</i></font></p>";
    info += "]]></description></Folder></Document></kml>";
    WriteText(info);
}

}  // namespace tessaly
