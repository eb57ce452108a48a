#pragma once
// A read-only view of a dBase attribute table, with its texts decoded to UTF-8.

#include "input/text_decoding.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// A table that cannot be opened or read; the message names the file.
class TableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// S: character and date fields; N: integer and floating-point; X: anything else.
enum class FieldKind : char { Text = 'S', Numeric = 'N', Other = 'X' };

struct FieldInfo {
    std::string name;  // UTF-8
    FieldKind kind = FieldKind::Other;
    char nativeType = 0;  // the dBase type letter: C, D, N, F, L, M ...
    int width = 0;
    int decimals = 0;
};

// A value normalised by another: 0 where the normaliser is 0, as the working table
// stores it and the classes read it.
inline double RatioOf(double value, double normaliser) { return normaliser == 0 ? 0 : value / normaliser; }

class DbfTable {
public:
    // Opens the table read-only, to be read in table order (with read-ahead); throws
    // TableError with the path and the cause.
    explicit DbfTable(const std::string& path);
    ~DbfTable();
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    const std::string& Path() const { return path_; }
    int RecordCount() const { return recordCount_; }
    const std::vector<FieldInfo>& Fields() const { return fields_; }
    const TextDecoder& Decoder() const { return decoder_; }

    // Position of the field: the exact name first, else the first that matches
    // ignoring letter case; -1 when there is none.
    int FieldIndex(std::string_view name) const;
    // As FieldIndex, but throws TableError naming the field and the table.
    int RequireField(std::string_view name) const;

    bool IsDeleted(int row) const;

    // The value as text, in UTF-8, without the padding of the fixed-width field.
    // Numeric values read as the number they hold, from their stored digits
    // ("12.500" is "12.5", "-3.0" is "-3"; ReadableNumber), dates as "2013-01-02",
    // so a value reads the same wherever it is shown or compared; a blank value,
    // and a number stored as asterisks (missing, or too wide for its field), is
    // the empty text.
    std::string Text(int row, int field) const;
    // As Text, appended to out.
    void AppendText(int row, int field, std::string& out) const;
    // The value read as a number (TextToNumber of its text); blank reads as 0.
    double Number(int row, int field) const;
    // As Number, but a blank value or one stored as asterisks is not a number:
    // gives false and leaves `value` alone.
    bool NumberIfPresent(int row, int field, double& value) const;
    // The value divided by the normaliser's (RatioOf), or with normaliser -1 the value
    // alone; false, leaving `value` alone, when either is not present.
    bool RatioIfPresent(int row, int field, int normaliser, double& value) const;

private:
    const char* Raw(int row, int field) const;

    std::string path_;
    void* handle_ = nullptr;  // DBFHandle, kept out of this header
    int recordCount_ = 0;
    std::vector<FieldInfo> fields_;
    TextDecoder decoder_;
};

// The attribute table that goes with a shapefile: same name, ".dbf" (".DBF" beside
// a ".SHP").
std::string AttributeTablePathOf(const std::string& shapefilePath);

}  // namespace tessaly
