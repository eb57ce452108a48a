#pragma once
// Dates and times of a whole attribute field: each row's value read once, and
// which fields hold times at all.

#include "input/dbf_table.h"
#include "input/time_value.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct TimeColumn {
    std::vector<std::optional<TimeValue>> values;  // one per row; nothing where it is empty, unreadable or deleted
    long long unreadable = 0;                      // live rows whose value is not empty and not a time
    std::string firstUnreadable;                   // the first of them in table order
};

TimeColumn ReadTimeColumn(const DbfTable& table, int field);

// The fields offered for times: date fields, and text and numeric fields whose first
// `sample` values that are not empty all read as times (at least one of them).
std::vector<std::string> TimeFields(const std::string& path, int sample = 1000);

// The earliest and the latest of the columns' values, by when each begins.
struct TimeRange {
    std::optional<TimeValue> earliest, latest;
};
TimeRange RangeOf(const std::vector<const TimeColumn*>& columns);
// The same over the named fields of the table at `path`.
TimeRange FieldsTimeRange(const std::string& path, const std::vector<std::string>& fields);

}  // namespace tessaly
