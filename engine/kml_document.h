#pragma once
// The KML document as a stream: the head with the class styles, the style
// references of the placemarks, and the closing "Info" folder.

#include "engine/balloon.h"
#include "engine/conversion_settings.h"
#include "engine/icon_palette.h"
#include "engine/output_file.h"
#include "symbology/symbol_list.h"

#include <string>
#include <string_view>

namespace tessaly {

class KmlDocumentWriter {
public:
    KmlDocumentWriter(OutputFile& out, TKml& kml, const TEngineState& state,
                      const TSymbolList& symbols, const TBalloon& balloon, const TGEIconList& icons,
                      std::uint8_t inputShapeClass);

    void WriteText(std::string_view text) { out_.Write(text); }
    // The XML declaration, the document's name, the legend, the class styles and the
    // schema of the attribute data (its fields end there, before the first feature);
    // without class folders the legend opens the "Features" folder.
    void WriteHeader(std::string_view schema = {});
    std::string LegendText() const;
    void LoadClassStyle(const TItemSym& symbol);
    // The style block of class n (0: the default symbol).
    void WriteClassStyles(int n);
    // The style reference of the placemarks of class n that follow.
    void SetStyleUrl(int n);
    // The "Info" folder with the description and the end of the document.
    void WriteTrailer(const std::string& description);

private:
    void WriteHighlightStyle(const std::string& suffix);
    void WriteMapitStyle();
    std::string BalloonStyle() const;
    // Whether a style the document may hold shows a palette icon, whose cell is
    // given in Google's extension elements.
    bool NamesPaletteCells() const;
    void WriteFillModeElements();
    // The Icon element's content for icon n: Google Earth's palette in a KML, the
    // program's own picture in a KMZ.
    std::string IconHref(int n) const;
    // Stores icon n's picture in a KMZ, whose styles now use it.
    void CarryIcon(int n);

    OutputFile& out_;
    TKml& kml_;
    const TEngineState& state_;
    const TSymbolList& symbols_;
    const TBalloon& balloon_;
    const TGEIconList& icons_;
    std::uint8_t inputShapeClass_;
    bool archive_;
    int iconNumber_ = 0;      // of the class loaded last
    int rollOverNumber_ = 0;
};

}  // namespace tessaly
