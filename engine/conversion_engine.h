#pragma once
// A conversion from start to finish: the settings collected from the user's
// choices, the working files prepared once per input, and the KML document.

#include "engine/balloon.h"
#include "engine/conversion_choices.h"
#include "engine/conversion_settings.h"
#include "engine/row_order.h"
#include "engine/user_messages.h"
#include "symbology/symbol_list.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessaly {

// An input or a choice that the conversion cannot work with; the message names
// the file or the choice.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TConversionEngine {
public:
    // The working files go into workFolder, which must exist and be the engine's own.
    explicit TConversionEngine(const std::string& workFolder);

    TKml Kml;
    TEngineState State;
    TBalloon Balloon;
    TSymbolList Symbols;
    std::string WorkTablePath;   // "tessaly.dbf" in the work folder
    std::string ShapeIndexPath;  // "tessaly.idx" in the work folder
    std::uint8_t InputShapeClass = 0;

    // A new input: its geometry class and attribute table. The working files are
    // made again on the next run.
    void InputLoaded(std::uint8_t shapeClass, const std::string& attributeTablePath);

    // Copies the choices into the settings, the balloon and the symbol list.
    // Throws ConversionError for a balloon width that is not a whole number.
    void CollectSettings(const ConversionChoices& choices, const std::string& inputShapePath);
    // The symbol list's part of CollectSettings: classification field, normalisation
    // and kind. What the preview map needs, and never fails.
    void CollectSymbology(const ConversionChoices& choices);
    // Unique values of a numeric field are compared as numbers in class filters.
    void SetUniqueNumeric();

    // Brings the working table and the shape index up to date, checking first that
    // the table has every field the settings name and no more rows than the
    // shapefile has records.
    void PrepareAttributes(const std::string& inputShapePath, UserMessages& messages);

    // Writes the document. False, writing nothing, when the shapefile cannot be opened
    // or is not a shapefile; other failures throw, and leave any earlier file at
    // kmlPath as it was.
    bool ConvertToKml(const std::string& shapePath, const std::string& kmlPath, UserMessages& messages);

    void DeleteWorkingFiles();

    // Placemarks written by the last run.
    long long WrittenFeatures() const { return written_; }

private:
    void CheckFields() const;
    void CreateLabelIndex(const std::string& field, int position, UserMessages& messages);

    int labelPosition_ = 0;
    std::map<std::string, RowOrder> labelIndexes_;  // by index name
    long long written_ = 0;
};

}  // namespace tessaly
