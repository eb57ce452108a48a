#pragma once
// The user's choices for a conversion, and the style values of the class being written.

#include "symbology/graduated_bounds.h"

#include <cstdint>
#include <string>

namespace tessaly {

// The altitude mode that lays every geometry on the ground, heights ignored.
inline constexpr const char* kClampToGround = "clampToGround";

// The graduated bounds are the settings' ClassMin, ClassMax and Digits.
struct TKml : GraduatedBounds {
    std::string AltitudeMode;  // "clampToGround", "relativeToGround" or "absolute"
    char Extrude = '0';        // '1' when 3D extrusion is on
    char Tessellate = '0';
    bool RollOver = false;     // a normal and a highlight style per class
    std::string IconColorText; // KML colour (aabbggrr) of the class being written
    std::uint32_t LineColor = 0;
    std::uint32_t FillColor = 0;
    std::uint8_t LineWidth = 0;
    std::uint8_t FillMode = 0;  // 1 filled, 2 outlined, 3 both
    std::uint8_t LineOpacity = 0;
    std::uint8_t FillOpacity = 0;
    std::string DocumentName;
    std::string Description;   // text of the closing "Info" folder
    std::string StyleUrlElement;
    std::string AttributeTablePath;
    std::string HeightText;    // third component of every coordinate tuple
    std::uint8_t HeightSource = 0;  // 1 elevation value, 2 constant, 3 field value
    std::string HeightField;
    double HeightValue = 0;
    std::string IconHref;
    std::string RollOverIconHref;
    std::string IconScaleText;
    bool LabelAlways = false;
    bool LabelRollOver = false;
    bool Centroid = false;
    bool CreateFolders = false;
    bool AttributeData = false;  // every field of each record as ExtendedData
    bool Regions = false;
    int RegionSize = 1000;
    std::string StyleId;
    bool UniqueNumeric = false;  // unique values compared unquoted in class filters
    std::uint32_t RollOverColor = 0;
    bool RollOverChangeColor = false;
    bool MultiCentroid = false;
    bool ReverseRings = false;
    double HeightFactor = 0;
    std::int32_t Datum = 0;      // catalogue number, 1-based
    std::uint8_t UtmZone = 0;    // 1..60
    bool Geographic = false;     // false: UTM metres
    bool North = false;
    // Not empty: the input is in this coordinate system (WKT, PROJ string or "EPSG:n"),
    // which PROJ converts to geographic coordinates on `Datum`, or with `Datum` 0 to WGS 84.
    std::string ProjectedDefinition;
    // Not empty: each placemark's time comes from this field, a TimeStamp, or with
    // TimeSpan the beginning of a TimeSpan whose end comes from TimeEndField, if named.
    std::string TimeField;
    std::string TimeEndField;
    bool TimeSpan = false;
};

// Engine values kept beside the settings for the whole program.
struct TEngineState {
    std::string LabelField;  // empty: placemarks are numbered
    bool Prepared = false;   // working table and shape index built for this input
    std::string LastSortedField;
    std::string LabelIndexName;
    std::int32_t CoordinateDecimals = 0;
    std::string FeatureName;
};

// Style values for a freshly loaded input; the class symbols overwrite them
// before anything is written.
void ResetStyleDefaults(TKml& kml);

}  // namespace tessaly
