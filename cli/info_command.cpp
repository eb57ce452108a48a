#include "cli/info_command.h"

#include "input/datum_catalogue.h"
#include "input/dbf_table.h"
#include "input/number_text.h"
#include "input/shapefile_reader.h"

#include <filesystem>

namespace tessaly::cli {

void PrintShapefileInfo(const std::string& shapefilePath, const std::string& coordinateSystem, std::ostream& out) {
    TFileSHP reader(shapefilePath);
    if (!reader.Open() || !reader.ReadHeader()) throw ShapefileError(reader.Error());
    long long records = 0;
    while (!reader.AtEnd()) {
        reader.ReadRecord();
        ++records;
    }
    out << "Shape Type: " << ShapeTypeName(reader.ShapeType) << "\n";
    out << "Records: " << records << "\n";
    out << "Extent: X " << ShortestText(reader.Xmin) << " .. " << ShortestText(reader.Xmax) << ", Y "
        << ShortestText(reader.Ymin) << " .. " << ShortestText(reader.Ymax) << "\n";
    out << "Coordinate System: " << coordinateSystem << "\n";

    const DbfTable table(AttributeTablePathOf(shapefilePath));
    out << "Table: " << table.RecordCount() << " rows, code page " << table.Decoder().Name() << "\n";
    out << "Fields: " << table.Fields().size() << "\n";
    for (const FieldInfo& f : table.Fields())
        out << "  " << f.name << " " << static_cast<char>(f.kind) << "\n";
}

void PrintDatums(std::ostream& out) {
    std::vector<std::string> datums;
    FillDatums(datums);
    for (std::size_t i = 0; i < datums.size(); ++i) out << i + 1 << "\t" << datums[i] << "\n";
}

}  // namespace tessaly::cli
