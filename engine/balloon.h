#pragma once
// The description balloon: an optional title and a table of chosen attributes.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class TBalloon {
public:
    TBalloon() { Reset(); }

    std::string Title;  // may hold HTML; written as the user typed it
    std::int32_t Width;
    std::int32_t Height;  // kept, but a KML balloon has no height of its own
    std::uint32_t BalloonColor;  // Windows colours, red in the low byte
    std::uint32_t FieldBackground;
    std::uint32_t ValueBackground;
    std::uint32_t FieldFontColor;
    std::uint32_t ValueFontColor;
    std::uint32_t BorderColor;
    bool ShowBorders;

    // Every field but Title back to its default, and no fields.
    void Reset();
    void ClearFields() { fields_.clear(); }
    void AddField(const std::string& name) { fields_.push_back(name); }
    bool HasFields() const { return !fields_.empty(); }
    const std::vector<std::string>& Fields() const { return fields_; }

private:
    std::vector<std::string> fields_;
};

// A balloon's description element, its markup made once for all the placemarks.
class BalloonMarkup {
public:
    explicit BalloonMarkup(const TBalloon& balloon);

    // Appends the description of one placemark; values[i] is the row's value of
    // field i + 1, in UTF-8 (as the table's texts are). Appends nothing when no
    // field is chosen.
    void Append(std::string& out, std::span<const std::string_view> values) const;

private:
    std::string head_;                   // up to the table's first row
    std::vector<std::string> rowHeads_;  // each field's row up to its value
    bool empty_;
};

}  // namespace tessaly
