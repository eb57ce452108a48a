// The attribute-table functions over any bytes as a .dbf: the field lists, and for
// every field its kind, distinct values, range, ratio to the next numeric field,
// statistics and number column. Refusing the table with TableError is a good answer.

#include "input/attribute_fields.h"
#include "input/dbf_table.h"
#include "tests/fuzz/scratch_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    const std::string path = fuzz::WriteScratchFile("table.dbf", data, size);
    try {
        for (int kind : {kTextFields, kNumericFields, kTextAndNumericFields, kAllFields}) ListFields(path, kind);
        const std::vector<std::string> fields = ListFields(path, kAllFields);
        const std::vector<std::string> numeric = ListFields(path, kNumericFields);
        for (const std::string& field : fields) {
            UniqueValues(path, field, 50);
            FieldStatistics(path, field);
            if (!IsNumericField(path, field)) continue;
            FieldMinMax(path, field);
            ReadNumberColumn(path, field);
            for (const std::string& normaliser : numeric)
                if (normaliser != field) {
                    RatioMinMax(path, field, normaliser);
                    break;
                }
        }
        FieldStatistics(path, "NO SUCH FIELD");
    } catch (const TableError&) {
    }
    return 0;
}
