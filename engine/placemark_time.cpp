#include "engine/placemark_time.h"

namespace tessaly {

namespace {

const TimeValue* At(const TimeColumn& column, int row) {
    const auto i = static_cast<std::size_t>(row);
    return i < column.values.size() && column.values[i] ? &*column.values[i] : nullptr;
}

void AppendElement(std::string& out, const char* name, const TimeValue& value) {
    out += '<';
    out += name;
    out += '>';
    AppendKmlTime(out, value);
    out += "</";
    out += name;
    out += '>';
}

}  // namespace

PlacemarkTimes::PlacemarkTimes(const TKml& kml, const DbfTable& table)
    : span_(kml.TimeSpan), beginField_(kml.TimeField), endField_(kml.TimeEndField) {
    if (!beginField_.empty()) begin_ = ReadTimeColumn(table, table.RequireField(beginField_));
    if (span_ && !endField_.empty()) end_ = ReadTimeColumn(table, table.RequireField(endField_));
}

void PlacemarkTimes::Element(int row, std::string& element) const {
    element.clear();
    const TimeValue* begin = At(begin_, row);
    if (!span_) {
        if (begin == nullptr) return;
        element += "<TimeStamp>";
        AppendElement(element, "when", *begin);
        element += "</TimeStamp>";
        return;
    }
    const TimeValue* end = At(end_, row);
    if (begin == nullptr && end == nullptr) return;
    element += "<TimeSpan>";
    if (begin != nullptr) AppendElement(element, "begin", *begin);
    if (end != nullptr) AppendElement(element, "end", *end);
    element += "</TimeSpan>";
}

std::vector<PlacemarkTimes::Unreadable> PlacemarkTimes::Unreadables() const {
    std::vector<Unreadable> fields;
    if (begin_.unreadable > 0) fields.push_back({beginField_, begin_.unreadable, begin_.firstUnreadable});
    if (end_.unreadable > 0) fields.push_back({endField_, end_.unreadable, end_.firstUnreadable});
    return fields;
}

}  // namespace tessaly
