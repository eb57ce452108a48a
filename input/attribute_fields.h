#pragma once
// Field lists, distinct values, ranges and statistics of an attribute table.
// Each call opens its own read-only view of the table at `path` and closes it
// again; rows marked as deleted are not part of the table. Errors are thrown as
// TableError naming the table (and the field).

#include <string>
#include <vector>

namespace tessaly {

// Which fields ListFields gives.
enum FieldListKind { kTextFields = 1, kNumericFields = 2, kTextAndNumericFields = 3, kAllFields = 0 };

std::vector<std::string> ListFields(const std::string& path, int kind);

bool IsNumericField(const std::string& path, const std::string& field);

// The field's distinct values, exact (case-sensitive) as texts, in ascending order:
// a numeric field's by value (the empty value first), any other's ignoring letter
// case (values equal but for case in byte order). Collects the first cap + 1
// distinct values met in table order.
std::vector<std::string> UniqueValues(const std::string& path, const std::string& field,
                                      std::size_t cap);

struct ValueRange {
    double minimum = 0;
    double maximum = 0;
    long long count = 0;  // rows read; minimum and maximum mean nothing without any
};

// Empty values (blank, or stored as asterisks) take no part in the range.
ValueRange FieldMinMax(const std::string& path, const std::string& field);

// Range of value / normaliser per row; a row whose normaliser is 0 counts as 0,
// one whose value or normaliser is empty not at all.
ValueRange RatioMinMax(const std::string& path, const std::string& field,
                       const std::string& normaliser);

// A numeric field's values in one pass: one per live row, in table order, with
// NaN where the value is empty (blank, or stored as asterisks). Charts and
// classification methods use it; they must not read an empty value as 0.
struct NumberColumn {
    std::vector<double> values;
    long long emptyCount = 0;
};

NumberColumn ReadNumberColumn(const std::string& path, const std::string& field);

// "Minimum: ", "Maximum: ", "Total  : ", "Average: " (when there are values) and
// "Count  : " lines over the rows with a value; the single line "Field not found"
// for an unknown field.
std::vector<std::string> FieldStatistics(const std::string& path, const std::string& field);

}  // namespace tessaly
