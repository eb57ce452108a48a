#include "engine/conversion_choices.h"

#include "input/number_text.h"

namespace tessaly {

std::optional<std::string> ValidateSave(const ConversionChoices& c) {
    if (!c.extrude) return std::nullopt;
    if (c.altitude == AltitudeChoice::ClampedToGround)
        return "Altitude mode must be \"Relative to Ground\" or \"Absolute\" for 3D";
    if (c.height == HeightChoice::Field && c.heightField.empty()) return "Select a Field for 3D values";
    if (c.height == HeightChoice::Field && !(CleanNumberText(c.heightFactorText) > 0))
        return "Height Factor must be >0";
    if (c.height == HeightChoice::Constant && !(CleanNumberText(c.extrudeText) > 0))
        return "Input a value >0 for 3D";
    return std::nullopt;
}

}  // namespace tessaly
