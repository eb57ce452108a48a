#include "engine/balloon.h"

#include "engine/kml_text.h"

#include <stdexcept>

namespace tessaly {

namespace {

constexpr std::string_view kRowEnd = "</font></td></tr>";
constexpr std::string_view kEnd = "</table>]]></description>";

}  // namespace

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

BalloonMarkup::BalloonMarkup(const TBalloon& b) : empty_(!b.HasFields()) {
    if (empty_) return;
    head_ = "<description><![CDATA[";
    if (!b.Title.empty()) head_ += CdataSafe(b.Title) + "<br>";
    head_ += "<table ";
    if (b.ShowBorders)
        head_ += "border=1 style=\"border-collapse:collapse; border-color:#" + HtmlColor(b.BorderColor) +
                 ";\" cellpadding=0 cellspacing=0  ";
    else
        head_ += "border=0 cellpadding=0 cellspacing=0  ";
    head_ += "width=" + std::to_string(b.Width) +
             " style=\"FONT-SIZE: 11px; FONT-FAMILY: Verdana, Arial, Helvetica, sans-serif;\">";
    const std::string fieldCell = "<tr><td bgcolor=\"#" + HtmlColor(b.FieldBackground) +
                                  "\" align=\"right\"><font COLOR=\"#" + HtmlColor(b.FieldFontColor) + "\"><b>";
    const std::string valueCell = "</b></font></td><td bgcolor=\"#" + HtmlColor(b.ValueBackground) +
                                  "\"> <font COLOR=\"#" + HtmlColor(b.ValueFontColor) + "\">";
    for (const std::string& field : b.Fields()) rowHeads_.push_back(fieldCell + HtmlEscape(field) + valueCell);
}

void BalloonMarkup::Append(std::string& out, std::span<const std::string_view> values) const {
    if (empty_) return;
    if (values.size() != rowHeads_.size())
        throw std::logic_error("a balloon of " + std::to_string(rowHeads_.size()) + " fields given " +
                               std::to_string(values.size()) + " values");
    out += head_;
    for (std::size_t i = 0; i < rowHeads_.size(); ++i) {
        out += rowHeads_[i];
        AppendHtmlEscaped(out, values[i]);
        out += kRowEnd;
    }
    out += kEnd;
}

}  // namespace tessaly
