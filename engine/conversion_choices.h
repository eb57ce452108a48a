#pragma once
// The user's choices for one conversion, as the wizard's controls or the command
// line hold them; CollectSettings turns them into the engine's settings.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

enum class AltitudeChoice { ClampedToGround, RelativeToGround, Absolute };
enum class LabelDisplay { Always, RollOver, Never };
enum class HeightChoice { Elevation = 1, Constant = 2, Field = 3 };

struct BalloonChoices {
    std::string title;
    std::uint32_t balloonColor = 0xFFFFFF;
    std::string widthText = "250";
    std::uint32_t fieldFontColor = 0;
    std::uint32_t valueFontColor = 32768;
    std::uint32_t fieldBackground = 13296099;
    std::uint32_t valueBackground = 13297380;
    bool showBorders = false;
    std::uint32_t borderColor = 0;
    std::vector<std::string> fields;  // in the table's field order
};

struct ConversionChoices {
    AltitudeChoice altitude = AltitudeChoice::ClampedToGround;
    bool reverseRings = false;
    std::string heightFactorText = "1.0";
    bool extrude = false;
    bool rollOver = false;
    LabelDisplay labels = LabelDisplay::Never;
    bool centroid = false;
    bool createFolders = false;
    bool attributeData = false;  // every field as data that GIS programs read back
    bool regions = false;  // a KMZ of tiles with regions
    int regionSize = 1000;  // records a tile keeps at most
    std::uint32_t rollOverColor = 0xFFFFFF;
    bool rollOverChangeColor = true;
    bool multiCentroid = false;
    HeightChoice height = HeightChoice::Field;
    std::string extrudeText;   // the constant height, metres
    std::string heightField;   // the field of field heights; empty: none chosen
    bool tessellate = false;
    std::string description;
    std::string title;
    std::optional<std::string> labelField;  // none: placemarks are numbered
    int labelPosition = 0;                  // the label field's place among the label fields
    BalloonChoices balloon;
    std::string classField;   // empty: none
    std::string normField;    // empty: no normalisation
    std::uint8_t kind = 1;    // 1 single symbol, 2 unique values, 3 graduated
    int datum = 219;          // catalogue number
    int utmZone = 12;         // 1..60
    bool geographic = true;
    bool north = true;
    // Not empty: PROJ converts the input from this system (see TKml::ProjectedDefinition);
    // `datum` 0 then means PROJ does the datum shift too.
    std::string projectedDefinition;
    // The placemarks' times: a moment from timeField, or with timeSpan a span from
    // timeField (its beginning) to timeEndField (its end); empty fields: none.
    std::string timeField;
    std::string timeEndField;
    bool timeSpan = false;
};

// The checks before creating, in their order; the message of the first that fails,
// or nothing when 3D is off or every check passes.
std::optional<std::string> ValidateSave(const ConversionChoices& choices);

}  // namespace tessaly
