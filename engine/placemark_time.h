#pragma once
// The time of each placemark, for Google Earth's time slider: a moment from one
// field, or a span from a field for its beginning and perhaps one for its end.

#include "engine/conversion_settings.h"
#include "input/dbf_table.h"
#include "input/time_fields.h"

#include <string>
#include <vector>

namespace tessaly {

class PlacemarkTimes {
public:
    // Reads the time fields the settings name, each row once; without them every
    // placemark goes without a time.
    PlacemarkTimes(const TKml& kml, const DbfTable& table);

    // The row's TimeStamp or TimeSpan element into `element`; empty when the row
    // has no readable time.
    void Element(int row, std::string& element) const;

    // A field whose values did not all read as times, for the run's note.
    struct Unreadable {
        std::string field;
        long long count = 0;
        std::string first;
    };
    std::vector<Unreadable> Unreadables() const;

private:
    bool span_ = false;
    std::string beginField_, endField_;
    TimeColumn begin_, end_;
};

}  // namespace tessaly
