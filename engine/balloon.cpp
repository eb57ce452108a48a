#include "engine/balloon.h"

#include "engine/kml_text.h"

namespace tessaly {

void TBalloon::Reset() {
    Width = 400;
    Height = 300;
    BalloonColor = 65535;
    FieldBackground = 65535;
    ValueBackground = 65535;
    FieldFontColor = 0;
    ValueFontColor = 16711680;
    BorderColor = 0;
    ShowBorders = false;
    fields_.clear();
}

void AppendBalloonDescription(std::string& out, const TBalloon& b,
                              const std::vector<std::string>& values) {
    if (!b.HasFields()) return;
    out += "<description><![CDATA[";
    if (!b.Title.empty()) out += CdataSafe(b.Title) + "<br>";
    out += "<table ";
    if (b.ShowBorders)
        out += "border=1 style=\"border-collapse:collapse; border-color:#" + HtmlColor(b.BorderColor) +
               ";\" cellpadding=0 cellspacing=0  ";
    else
        out += "border=0 cellpadding=0 cellspacing=0  ";
    out += "width=" + std::to_string(b.Width) +
           " style=\"FONT-SIZE: 11px; FONT-FAMILY: Verdana, Arial, Helvetica, sans-serif;\">";
    const std::string fieldCell = "<td bgcolor=\"#" + HtmlColor(b.FieldBackground) +
                                  "\" align=\"right\"><font COLOR=\"#" + HtmlColor(b.FieldFontColor) +
                                  "\"><b>";
    const std::string valueCell = "</b></font></td><td bgcolor=\"#" + HtmlColor(b.ValueBackground) +
                                  "\"> <font COLOR=\"#" + HtmlColor(b.ValueFontColor) + "\">";
    for (int i = 1; i <= b.FieldCount(); ++i) {
        out += "<tr>";
        out += fieldCell;
        out += HtmlEscape(b.FieldAt(i));
        out += valueCell;
        out += HtmlEscape(values.at(static_cast<std::size_t>(i - 1)));
        out += "</font></td></tr>";
    }
    out += "</table>]]></description>";
}

}  // namespace tessaly
