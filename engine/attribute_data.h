#pragma once
// Every field of a record as KML data, so that GIS programs read the fields back
// with their types: one Schema in the document lists the fields, and each
// placemark holds its values in a SchemaData that names that Schema.

#include "input/dbf_table.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

inline constexpr const char* kDataSchemaId = "tessaly_data";

struct DataField {
    int index = 0;     // in the working table
    std::string name;
    const char* type;  // KML's SimpleField type: "int", "double", "bool" or "string"
};

// The KML type of a dBase field: N without decimals as int (but for widths of 10
// digits and more, which an int does not hold), other N and F as double, L as
// bool, anything else as string.
const char* DataTypeOf(const FieldInfo& field);

// The fields of the input table, which the working table holds before its own two.
std::vector<DataField> DataFields(const DbfTable& workTable);

// The document's Schema element.
void AppendDataSchema(std::string& out, const std::vector<DataField>& fields);

// A placemark's ExtendedData, its markup made once for every placemark: one
// SimpleData per field with a value (UTF-8, as the table decodes it), in the
// table's order; an empty value (and a logical value that is neither true nor
// false) has none. The Schema is in schemaDocument ("": this one).
class DataMarkup {
public:
    DataMarkup(const std::vector<DataField>& fields, std::string_view schemaDocument);
    // One value for each field.
    void Append(std::string& out, std::span<const std::string_view> values) const;

private:
    std::string open_;
    std::vector<std::string> heads_;  // <SimpleData name="...">
    std::vector<bool> logical_;
};

}  // namespace tessaly
