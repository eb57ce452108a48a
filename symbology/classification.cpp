#include "symbology/classification.h"

#include "input/attribute_fields.h"
#include "input/number_text.h"
#include "symbology/colour_ramps.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

void SetClassColour(TItemSym& item, std::uint8_t shapeClass, Colour colour) {
    if (shapeClass == 1) item.IconColor = colour;
    if (shapeClass == 2) item.LineColor = colour;
    if (shapeClass == 3) item.FillColor = colour;
}

std::vector<std::string> BuildUniqueClasses(const std::string& tablePath, const std::string& field,
                                            TSymbolList& symbols, std::uint8_t shapeClass) {
    std::vector<std::string> values = UniqueValues(tablePath, field, kUniqueValueCap);
    symbols.Clear();
    for (std::size_t k = 0; k < values.size(); ++k) {
        TItemSym& item = symbols.AddItem();
        item.ValueText = values[k];
        SetClassColour(item, shapeClass, UniqueRampColor(symbols.UniqueRamp, static_cast<int>(k) + 1));
    }
    return values;
}

std::vector<std::string> BuildGraduatedClasses(const std::string& tablePath, const GraduatedRequest& r,
                                               TKml& kml, TSymbolList& symbols, std::uint8_t shapeClass) {
    const int n = std::clamp(r.classCount, 2, 200);
    if (r.statistics) {
        const bool normalised = !r.normField.empty() && r.normField != r.field;
        const ValueRange range =
            normalised ? RatioMinMax(tablePath, r.field, r.normField) : FieldMinMax(tablePath, r.field);
        // An empty table keeps the statistics of the last build.
        if (range.count > 0) {
            kml.ClassMin = range.minimum;
            kml.ClassMax = range.maximum;
        }
    }
    // Relabelling keeps the classes only while there is one for every text.
    const bool items = r.items || symbols.Count() != n;
    if (items) symbols.Clear();

    const std::string stops = GradRampStops(symbols.GradRamp);
    const double min = kml.ClassMin, max = kml.ClassMax;
    const double w = (max - min) / n;
    std::vector<std::string> texts;
    for (int k = 1; k <= n; ++k) {
        const double low = k == 1 ? min : min + (k - 1) * w;
        const double high = k == n ? max : low + w;
        std::string text = FormatNumber(1, kml.Digits, low) + " : " + FormatNumber(1, kml.Digits, high);
        if (items) {
            TItemSym& item = symbols.AddItem();
            const double middle = (low + high) / 2;
            Colour c;
            if (symbols.RampMode == 2)
                c = k == 1   ? symbols.FromColor
                    : k == n ? symbols.ToColor
                             : InterpolateColor(middle, max, min, symbols.ToColor, symbols.FromColor);
            else
                c = RampColor(stops, middle, max, min);
            SetClassColour(item, shapeClass, c);
        }
        symbols.Item(k).ValueText = text;
        texts.push_back(std::move(text));
    }
    return texts;
}

std::optional<std::uint8_t> ParseToAllAnswer(const std::string& answer, int max) {
    if (answer.empty()) return std::nullopt;
    const double v = std::trunc(TextToNumber(answer));
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, static_cast<double>(max)));
}

bool ApplyOpacityToAll(TSymbolList& symbols, std::uint8_t shapeClass, const std::string& answer) {
    const auto v = ParseToAllAnswer(answer, 100);
    if (v) symbols.SetOpacityToAll(shapeClass, *v);
    return v.has_value();
}

bool ApplyLineWidthToAll(TSymbolList& symbols, const std::string& answer) {
    const auto v = ParseToAllAnswer(answer, 10);
    if (v) symbols.SetLineWidthToAll(*v);
    return v.has_value();
}

bool ApplyIconToAll(TSymbolList& symbols, int iconIndex) {
    if (symbols.Count() == 0 || iconIndex < 1 || iconIndex > 163) return false;
    symbols.SetIconToAll(static_cast<std::uint8_t>(iconIndex));
    return true;
}

}  // namespace tessaly
