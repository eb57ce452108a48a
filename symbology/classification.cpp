#include "symbology/classification.h"

#include "input/attribute_fields.h"
#include "input/dbf_table.h"
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

namespace {

// The values a data-driven method classes, ascending: the field's, or its ratio
// to the normaliser as the working table stores it (0 where the normaliser is 0).
// Empty values, and values whose normaliser is empty, take no part.
std::vector<double> MethodValues(const std::string& tablePath, const std::string& field,
                                 const std::string& normField) {
    std::vector<double> values = ReadNumberColumn(tablePath, field).values;
    if (!normField.empty()) {
        const std::vector<double> norms = ReadNumberColumn(tablePath, normField).values;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double b = norms[i];
            if (std::isnan(b)) values[i] = b;
            else if (!std::isnan(values[i])) values[i] = RatioOf(values[i], b);
        }
    }
    std::erase_if(values, [](double v) { return std::isnan(v); });
    std::sort(values.begin(), values.end());
    return values;
}

// The design's classes: n of equal width between ClassMin and ClassMax, each
// coloured at its middle.
std::vector<std::string> EqualIntervalTexts(const GraduatedBounds& bounds, int n, std::vector<double>& middles) {
    const double min = bounds.ClassMin, max = bounds.ClassMax;
    const double w = (max - min) / n;
    std::vector<std::string> texts;
    for (int k = 1; k <= n; ++k) {
        const double low = k == 1 ? min : min + (k - 1) * w;
        const double high = k == n ? max : low + w;
        texts.push_back(FormatNumber(1, bounds.Digits, low) + " : " + FormatNumber(1, bounds.Digits, high));
        middles.push_back((low + high) / 2);
    }
    return texts;
}

}  // namespace

std::vector<std::string> BuildGraduatedClasses(const std::string& tablePath, const GraduatedRequest& r,
                                               GraduatedBounds& bounds, TSymbolList& symbols, std::uint8_t shapeClass) {
    const int requested = std::clamp(r.classCount, 2, 200);
    const bool normalised = !r.normField.empty() && r.normField != r.field;
    std::vector<std::string> texts;
    // Where each class takes its colour, over rampLow .. rampHigh.
    std::vector<double> positions;
    double rampLow = 0, rampHigh = 1;
    if (r.method == ClassMethod::EqualInterval) {
        if (r.statistics) {
            const ValueRange range =
                normalised ? RatioMinMax(tablePath, r.field, r.normField) : FieldMinMax(tablePath, r.field);
            if (range.count == 0) throw NoValuesError(r.field);
            bounds.ClassMin = range.minimum;
            bounds.ClassMax = range.maximum;
        }
        texts = EqualIntervalTexts(bounds, requested, positions);
        rampLow = bounds.ClassMin;
        rampHigh = bounds.ClassMax;
    } else {
        // The breaks follow the values, so every build reads them again.
        const std::vector<double> values = MethodValues(tablePath, r.field, normalised ? r.normField : "");
        if (values.empty()) throw NoValuesError(r.field);
        const ClassEnds ends = r.method == ClassMethod::Quantile ? QuantileClasses(values, requested)
                                                                 : NaturalBreakClasses(values, requested);
        bounds.ClassMin = values.front();
        bounds.ClassMax = values.back();
        texts = ClassTexts(values, ends, bounds.Digits);
        // Class k of n at (k - 0.5) / n of the ramp, so unequal classes still differ.
        const double n = static_cast<double>(texts.size());
        for (std::size_t k = 1; k <= texts.size(); ++k)
            positions.push_back((static_cast<double>(k) - 0.5) / n);
    }

    const int n = static_cast<int>(texts.size());
    // Relabelling keeps the classes only while there is one for every text.
    const bool items = r.items || symbols.Count() != n;
    if (items) symbols.Clear();
    const std::string stops = GradRampStops(symbols.GradRamp);
    for (int k = 1; k <= n; ++k) {
        if (items) {
            TItemSym& item = symbols.AddItem();
            const double at = positions[static_cast<std::size_t>(k - 1)];
            Colour c;
            if (symbols.RampMode == 2)
                c = k == 1   ? symbols.FromColor
                    : k == n ? symbols.ToColor
                             : InterpolateColor(at, rampHigh, rampLow, symbols.ToColor, symbols.FromColor);
            else
                c = RampColor(stops, at, rampHigh, rampLow);
            SetClassColour(item, shapeClass, c);
        }
        symbols.Item(k).ValueText = texts[static_cast<std::size_t>(k - 1)];
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
