#include "engine/attribute_data.h"

#include "engine/kml_text.h"
#include "engine/working_table.h"

#include <cctype>
#include <cstring>

namespace tessaly {

namespace {

// dBase logical values: T, t, Y, y are true, F, f, N, n false, "?" unknown. Written
// as 1 and 0, which every reader of xsd:boolean takes.
std::string_view BoolText(std::string_view value) {
    if (value.size() != 1) return {};
    switch (value[0]) {
        case 'T': case 't': case 'Y': case 'y': return "1";
        case 'F': case 'f': case 'N': case 'n': return "0";
        default: return {};
    }
}

}  // namespace

const char* DataTypeOf(const FieldInfo& field) {
    constexpr int kIntDigits = 10;  // 10 digits may pass 2,147,483,647
    switch (std::toupper(static_cast<unsigned char>(field.nativeType))) {
        case 'N': return field.decimals == 0 && field.width < kIntDigits ? "int" : "double";
        case 'F': return "double";
        case 'L': return "bool";
        default: return "string";
    }
}

std::vector<DataField> DataFields(const DbfTable& workTable) {
    // The working table's own fields, the row number and the ratio, end it.
    const std::vector<FieldInfo>& all = workTable.Fields();
    std::vector<DataField> fields;
    for (int i = 0; i + 1 < RatioFieldIndex(workTable); ++i)
        fields.push_back({i, all[static_cast<std::size_t>(i)].name, DataTypeOf(all[static_cast<std::size_t>(i)])});
    return fields;
}

void AppendDataSchema(std::string& out, const std::vector<DataField>& fields) {
    out += "<Schema name=\"";
    out += kDataSchemaId;
    out += "\" id=\"";
    out += kDataSchemaId;
    out += "\">";
    for (const DataField& f : fields) {
        out += "<SimpleField type=\"";
        out += f.type;
        out += "\" name=\"";
        out += HtmlEscape(f.name);
        out += "\"/>";
    }
    out += "</Schema>";
}

DataMarkup::DataMarkup(const std::vector<DataField>& fields, std::string_view schemaDocument) {
    open_ = "<ExtendedData><SchemaData schemaUrl=\"" + std::string(schemaDocument) + "#" + kDataSchemaId + "\">";
    for (const DataField& f : fields) {
        heads_.push_back("<SimpleData name=\"" + HtmlEscape(f.name) + "\">");
        logical_.push_back(std::strcmp(f.type, "bool") == 0);
    }
}

void DataMarkup::Append(std::string& out, std::span<const std::string_view> values) const {
    out += open_;
    for (std::size_t i = 0; i < heads_.size(); ++i) {
        const std::string_view value = logical_[i] ? BoolText(values[i]) : values[i];
        if (value.empty()) continue;
        out += heads_[i];
        AppendXmlEscaped(out, value);
        out += "</SimpleData>";
    }
    out += "</SchemaData></ExtendedData>";
}

}  // namespace tessaly
