#include "engine/working_table.h"

#include "input/table_file_io.h"

#include "input/number_text.h"

#include <shapefil.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string_view>

namespace tessaly {

namespace {

constexpr int kRowNumberWidth = 10;
constexpr int kRatioWidth = 24;  // the shortest exact text of any double fits

struct DbfCloser {
    void operator()(DBFInfo* h) const { DBFClose(h); }
};
using DbfHandle = std::unique_ptr<DBFInfo, DbfCloser>;

constexpr std::size_t kReadAhead = 1 << 16;

DbfHandle OpenRaw(const std::string& path, const char* mode) {
    SAHooks hooks = TableFileHooks(kReadAhead, nullptr);
    DbfHandle h(DBFOpenLL(path.c_str(), mode, &hooks));
    if (!h) throw TableError(path + ": cannot open the table");
    return h;
}

// Writes out what the table still holds and reports a failure (a full disk) that
// closing alone would not.
void Finish(DbfHandle& h, const std::string& path) {
    DBFUpdateHeader(h.get());
    if (h->sHooks.FFlush(h->fp) != 0) throw TableError(path + ": cannot write the working table");
    h.reset();
}

void RemoveTableFiles(const std::string& path) {
    std::error_code ec;
    for (const char* ext : {".dbf", ".cpg"})
        std::filesystem::remove(std::filesystem::path(path).replace_extension(ext), ec);
}

// The field list must fit the working table before it is made: every field holds at
// least one byte, and the two added fields must still fit a dBase row and header.
void CheckCopiable(DBFInfo* in, const DbfTable& checked, const std::string& inputTable) {
    constexpr int kMaxLength = 65535;  // a dBase row and a dBase header alike
    constexpr int kFieldDescriptor = 32;
    const int fields = DBFGetFieldCount(in);
    long long row = 1 + kRowNumberWidth + kRatioWidth;
    for (int i = 0; i < fields; ++i) {
        const int width = in->panFieldSize[i];
        if (width < 1)
            throw TableError(inputTable + ": field \"" + checked.Fields()[static_cast<std::size_t>(i)].name +
                             "\" has a width of " + std::to_string(width) +
                             " bytes; the working copy of the table needs at least 1");
        row += width;
    }
    if (row > kMaxLength)
        throw TableError(inputTable + ": its rows of " + std::to_string(row - kRowNumberWidth - kRatioWidth) +
                         " bytes leave no room for the working copy's two added fields (a row holds at most " +
                         std::to_string(kMaxLength) + " bytes)");
    if (kFieldDescriptor * (fields + 3) + 1 > kMaxLength)
        throw TableError(inputTable + ": its " + std::to_string(fields) +
                         " fields leave no room for the working copy's two added fields");
}

}  // namespace

void CreateWorkingTable(const std::string& inputTable, const std::string& workTable) {
    // Validates the input (counts against the file's size) before shapelib copies it.
    const DbfTable checked(inputTable);
    DbfHandle in = OpenRaw(inputTable, "rb");
    CheckCopiable(in.get(), checked, inputTable);
    RemoveTableFiles(workTable);

    // Keep the input's code page, so that the copy decodes as the input does.
    const char* codePage = DBFGetCodePage(in.get());
    SAHooks hooks = TableFileHooks(kReadAhead, nullptr);
    DbfHandle out(DBFCreateLL(workTable.c_str(), codePage ? codePage : "LDID/87", &hooks));
    if (!out) throw TableError(workTable + ": cannot create the working table");

    const int fields = DBFGetFieldCount(in.get());
    for (int i = 0; i < fields; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0, decimals = 0;
        DBFGetFieldInfo(in.get(), i, name, &width, &decimals);
        if (DBFAddNativeFieldType(out.get(), name, DBFGetNativeFieldType(in.get(), i), width, decimals) < 0)
            throw TableError(inputTable + ": field \"" + checked.Fields()[static_cast<std::size_t>(i)].name +
                             "\" cannot be copied into the working table");
    }
    if (DBFAddNativeFieldType(out.get(), kRowNumberField, 'N', kRowNumberWidth, 0) < 0 ||
        DBFAddNativeFieldType(out.get(), kRatioField, 'N', kRatioWidth, 0) < 0)
        throw TableError(workTable + ": cannot add the working fields");

    std::vector<char> value;
    const int rows = DBFGetRecordCount(in.get());
    for (int row = 0; row < rows; ++row) {
        const char* tuple = DBFReadTuple(in.get(), row);
        if (tuple == nullptr) throw TableError(inputTable + ": cannot read row " + std::to_string(row + 1));
        for (int i = 0; i < fields; ++i) {
            // The raw bytes of the field, as stored: no decoding, no trimming.
            const int offset = in->panFieldOffset[i];
            const int width = in->panFieldSize[i];
            value.assign(tuple + offset, tuple + offset + width);
            value.push_back('\0');
            if (!DBFWriteAttributeDirectly(out.get(), row, i, value.data()))
                throw TableError(workTable + ": cannot write row " + std::to_string(row + 1));
        }
        if (!DBFWriteIntegerAttribute(out.get(), row, fields, row + 1))
            throw TableError(workTable + ": cannot write row " + std::to_string(row + 1));
        if (tuple[0] == '*') DBFMarkRecordDeleted(out.get(), row, 1);
    }
    Finish(out, workTable);
}

int RowNumberFieldIndex(const DbfTable& workTable) { return static_cast<int>(workTable.Fields().size()) - 2; }

int RatioFieldIndex(const DbfTable& workTable) { return static_cast<int>(workTable.Fields().size()) - 1; }

void Normalize(const std::string& workTable, const std::string& field, const std::string& normaliser) {
    std::vector<std::pair<int, std::string>> ratios;
    int ratioField = 0;
    {
        const DbfTable table(workTable);
        const int f = table.RequireField(field);
        const int g = table.RequireField(normaliser);
        ratioField = RatioFieldIndex(table);
        ratios.reserve(static_cast<std::size_t>(table.RecordCount()));
        char buf[64];
        for (int row = 0; row < table.RecordCount(); ++row) {
            const double a = table.Number(row, f);
            const double b = table.Number(row, g);
            const double r = b == 0 ? 0 : a / b;
            const auto end = std::to_chars(buf, buf + sizeof buf, r).ptr;
            ratios.emplace_back(row, std::string(buf, end));
        }
    }
    DbfHandle h = OpenRaw(workTable, "rb+");
    for (const auto& [row, text] : ratios)
        if (!DBFWriteAttributeDirectly(h.get(), row, ratioField, const_cast<char*>(text.c_str())))
            throw TableError(workTable + ": cannot write the normalised value of row " + std::to_string(row + 1));
    Finish(h, workTable);
}

}  // namespace tessaly
