#include "input/time_fields.h"

namespace tessaly {

namespace {

// dBase writes a date that is missing as blanks or, as shapelib does, as zeros.
bool Missing(const std::string& text, char type) {
    return text.empty() || (type == 'D' && text.find_first_not_of('0') == std::string::npos);
}

bool CanHoldTimes(const FieldInfo& f) { return f.nativeType == 'C' || f.nativeType == 'N'; }

bool AllReadAsTimes(const DbfTable& table, int field, int sample) {
    const char type = table.Fields()[static_cast<std::size_t>(field)].nativeType;
    int seen = 0;
    for (int row = 0; row < table.RecordCount() && seen < sample; ++row) {
        if (table.IsDeleted(row)) continue;
        const std::string text = table.Text(row, field);
        if (Missing(text, type)) continue;
        if (!ReadTimeValue(text, type)) return false;
        ++seen;
    }
    return seen > 0;
}

}  // namespace

TimeColumn ReadTimeColumn(const DbfTable& table, int field) {
    const char type = table.Fields()[static_cast<std::size_t>(field)].nativeType;
    TimeColumn column;
    column.values.resize(static_cast<std::size_t>(table.RecordCount()));
    for (int row = 0; row < table.RecordCount(); ++row) {
        if (table.IsDeleted(row)) continue;
        const std::string text = table.Text(row, field);
        if (Missing(text, type)) continue;
        auto& value = column.values[static_cast<std::size_t>(row)];
        value = ReadTimeValue(text, type);
        if (value || column.unreadable++ > 0) continue;
        column.firstUnreadable = text;
    }
    return column;
}

std::vector<std::string> TimeFields(const std::string& path, int sample) {
    const DbfTable table(path);
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < table.Fields().size(); ++i) {
        const FieldInfo& f = table.Fields()[i];
        if (f.nativeType == 'D' || (CanHoldTimes(f) && AllReadAsTimes(table, static_cast<int>(i), sample)))
            fields.push_back(f.name);
    }
    return fields;
}

TimeRange RangeOf(const std::vector<const TimeColumn*>& columns) {
    TimeRange range;
    for (const TimeColumn* column : columns)
        for (const auto& value : column->values) {
            if (!value) continue;
            if (!range.earliest || BeginsBefore(*value, *range.earliest)) range.earliest = value;
            if (!range.latest || BeginsBefore(*range.latest, *value)) range.latest = value;
        }
    return range;
}

TimeRange FieldsTimeRange(const std::string& path, const std::vector<std::string>& fields) {
    const DbfTable table(path);
    std::vector<TimeColumn> columns;
    for (const std::string& f : fields) columns.push_back(ReadTimeColumn(table, table.RequireField(f)));
    std::vector<const TimeColumn*> all;
    for (const TimeColumn& c : columns) all.push_back(&c);
    return RangeOf(all);
}

}  // namespace tessaly
