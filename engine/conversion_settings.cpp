#include "engine/conversion_settings.h"

namespace tessaly {

void ResetStyleDefaults(TKml& kml) {
    kml.LineColor = 0x0000FF;  // red
    kml.FillColor = 0xFF0000;  // blue
    kml.LineWidth = 4;
    kml.LineOpacity = 80;
    kml.FillOpacity = 60;
    kml.Digits = 5;
}

}  // namespace tessaly
