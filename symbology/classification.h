#pragma once
// Building the classes of a symbology from an attribute field: one class per
// unique value, or equal-width graduated classes, coloured from the ramps.
// These are what the symbology page calls; nothing here knows about windows.

#include "symbology/classification_methods.h"
#include "symbology/graduated_bounds.h"
#include "symbology/symbol_list.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaly {

constexpr std::size_t kUniqueValueCap = 5000;

// The colour a ramp gives a class goes to the icon of points, the line of lines
// and the fill of polygons.
void SetClassColour(TItemSym& item, std::uint8_t shapeClass, Colour colour);

// One class per distinct value of the field (at most 5,001), in ascending order
// ignoring letter case, each a copy of the default symbol in the colour of ramp
// UniqueRamp. Returns the class texts in order.
std::vector<std::string> BuildUniqueClasses(const std::string& tablePath, const std::string& field,
                                            TSymbolList& symbols, std::uint8_t shapeClass);

// A graduated field with nothing to class: every value is empty ("*"-filled
// counts as empty), or no row gives a ratio. The message is "No values in FIELD".
class NoValuesError : public std::runtime_error {
public:
    explicit NoValuesError(const std::string& field) : std::runtime_error("No values in " + field) {}
};

struct GraduatedRequest {
    std::string field;
    std::string normField;  // empty, or the field itself: no normalisation
    int classCount = 7;     // 2..200
    bool statistics = true; // read ClassMin and ClassMax from the table again
    bool items = true;      // make new classes; false keeps every class's symbol and changes its text only
    ClassMethod method = ClassMethod::EqualInterval;
};

// Graduated classes, their texts "low : high" with Digits decimals. Equal
// intervals lie between ClassMin and ClassMax of the bounds; quantiles and
// natural breaks follow the field's non-empty values on every build (and set
// ClassMin and ClassMax to their extremes), making no empty class. Returns the
// class texts in order. Throws NoValuesError, changing nothing, when the values
// are read and there are none.
std::vector<std::string> BuildGraduatedClasses(const std::string& tablePath, const GraduatedRequest& request,
                                               GraduatedBounds& bounds, TSymbolList& symbols,
                                               std::uint8_t shapeClass);

// A typed answer for a to-all command: empty gives nothing; otherwise its number,
// truncated to a whole number and held to 0..max ("150" is 100 for opacities).
std::optional<std::uint8_t> ParseToAllAnswer(const std::string& answer, int max);

// The to-all commands; each returns whether it changed anything.
bool ApplyOpacityToAll(TSymbolList& symbols, std::uint8_t shapeClass, const std::string& answer);
bool ApplyLineWidthToAll(TSymbolList& symbols, const std::string& answer);
// Does nothing while there are no classes.
bool ApplyIconToAll(TSymbolList& symbols, int iconIndex);

}  // namespace tessaly
