#include "input/attribute_fields.h"

#include "input/dbf_table.h"
#include "input/letter_case.h"
#include "input/number_text.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

namespace tessaly {

namespace {

bool FieldIsListed(FieldKind kind, int listKind) {
    switch (listKind) {
        case kTextFields: return kind == FieldKind::Text;
        case kNumericFields: return kind == FieldKind::Numeric;
        case kTextAndNumericFields: return kind != FieldKind::Other;
        default: return true;
    }
}

int RequireNumericField(const DbfTable& table, const std::string& field) {
    const int index = table.RequireField(field);
    if (table.Fields()[static_cast<std::size_t>(index)].kind != FieldKind::Numeric)
        throw TableError(table.Path() + ": field \"" + field + "\" is not numeric");
    return index;
}

struct NumberSummary {
    ValueRange range;
    double total = 0;
};

// One pass over the live rows: the field's value, or its ratio to the normaliser
// (0 where the normaliser is 0) when normaliser is not -1. A row without a value
// (or without a normaliser) takes no part: it belongs to no class.
NumberSummary Summarise(const DbfTable& table, int field, int normaliser) {
    NumberSummary s;
    for (int row = 0; row < table.RecordCount(); ++row) {
        if (table.IsDeleted(row)) continue;
        double v = 0;
        if (!table.RatioIfPresent(row, field, normaliser, v)) continue;
        if (s.range.count == 0 || v < s.range.minimum) s.range.minimum = v;
        if (s.range.count == 0 || v > s.range.maximum) s.range.maximum = v;
        s.total += v;
        ++s.range.count;
    }
    return s;
}

// A numeric field's values by the number they hold, the empty value first.
bool LessAsNumber(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return a.empty() && !b.empty();
    const double x = TextToNumber(a), y = TextToNumber(b);
    return x != y ? x < y : a < b;
}

}  // namespace

std::vector<std::string> ListFields(const std::string& path, int kind) {
    const DbfTable table(path);
    std::vector<std::string> names;
    for (const FieldInfo& f : table.Fields())
        if (FieldIsListed(f.kind, kind)) names.push_back(f.name);
    return names;
}

bool IsNumericField(const std::string& path, const std::string& field) {
    const DbfTable table(path);
    const int index = table.FieldIndex(field);
    return index >= 0 && table.Fields()[static_cast<std::size_t>(index)].kind == FieldKind::Numeric;
}

std::vector<std::string> UniqueValues(const std::string& path, const std::string& field,
                                      std::size_t cap) {
    const DbfTable table(path);
    const int index = table.RequireField(field);
    std::unordered_set<std::string> seen;
    std::vector<std::string> values;
    for (int row = 0; row < table.RecordCount() && values.size() <= cap; ++row) {
        if (table.IsDeleted(row)) continue;
        std::string v = table.Text(row, index);
        if (seen.insert(v).second) values.push_back(std::move(v));
    }
    const bool numeric = table.Fields()[static_cast<std::size_t>(index)].kind == FieldKind::Numeric;
    if (numeric)
        std::sort(values.begin(), values.end(), LessAsNumber);
    else
        std::sort(values.begin(), values.end(), [](const std::string& a, const std::string& b) { return LessIgnoringCase(a, b); });
    return values;
}

ValueRange FieldMinMax(const std::string& path, const std::string& field) {
    const DbfTable table(path);
    return Summarise(table, RequireNumericField(table, field), -1).range;
}

ValueRange RatioMinMax(const std::string& path, const std::string& field,
                       const std::string& normaliser) {
    const DbfTable table(path);
    return Summarise(table, RequireNumericField(table, field), RequireNumericField(table, normaliser))
        .range;
}

NumberColumn ReadNumberColumn(const std::string& path, const std::string& field) {
    const DbfTable table(path);
    const int index = RequireNumericField(table, field);
    NumberColumn column;
    column.values.reserve(static_cast<std::size_t>(table.RecordCount()));
    for (int row = 0; row < table.RecordCount(); ++row) {
        if (table.IsDeleted(row)) continue;
        double v = std::numeric_limits<double>::quiet_NaN();
        if (!table.NumberIfPresent(row, index, v)) ++column.emptyCount;
        column.values.push_back(v);
    }
    return column;
}

std::vector<std::string> FieldStatistics(const std::string& path, const std::string& field) {
    const DbfTable table(path);
    const int index = table.FieldIndex(field);
    if (index < 0) return {"Field not found"};
    RequireNumericField(table, field);

    const NumberSummary s = Summarise(table, index, -1);
    std::vector<std::string> lines = {
        "Minimum: " + FormatNumber(1, 5, s.range.minimum),
        "Maximum: " + FormatNumber(1, 5, s.range.maximum),
        "Total  : " + FormatNumber(1, 5, s.total),
    };
    const long long count = s.range.count;
    if (count > 0) lines.push_back("Average: " + FormatNumber(1, 5, s.total / static_cast<double>(count)));
    lines.push_back("Count  : " + FormatNumber(1, 0, static_cast<double>(count)));
    return lines;
}

}  // namespace tessaly
