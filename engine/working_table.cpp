#include "engine/working_table.h"

#include "input/table_file_io.h"

#include "input/byte_order.h"
#include "input/huge_pages.h"
#include "input/number_text.h"
#include "input/positioned_io.h"

#include <shapefil.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

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

std::string SiblingPath(const std::string& path, const char* ext) {
    return std::filesystem::path(path).replace_extension(ext).string();
}

void RemoveTableFiles(const std::string& path) {
    std::error_code ec;
    for (const char* ext : {".dbf", ".cpg"}) std::filesystem::remove(SiblingPath(path, ext), ec);
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

// The working table is written as shapelib writes a new table, but in large blocks
// rather than a field at a time: a 32-byte header, a 32-byte descriptor per field,
// 0x0D, the rows, 0x1A.
constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;
constexpr char kHeaderEnd = 0x0D;
constexpr char kEndOfFile = 0x1A;
constexpr std::size_t kBlockBytes = 1 << 20;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;
    int Get() const { return fd_; }
    // Closes now, so that a failure to write out (a full disk) is seen.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

[[noreturn]] void ThrowWriteError(const std::string& path, int error) {
    throw TableError(path + ": cannot write the working table: " + std::system_category().message(error));
}

void Write(const FileDescriptor& file, const std::string& path, const char* data, std::size_t size, off_t at) {
    if (!WriteAt(file.Get(), data, size, at)) ThrowWriteError(path, errno);
}

// Reads `count` rows from row `first` into block; a table cut short is reported
// with the first row that is not all there.
void ReadRows(const FileDescriptor& file, const std::string& path, const DBFInfo& layout, long long first,
              std::size_t count, HugePageVector<char>& block) {
    const auto rowLength = static_cast<std::size_t>(layout.nRecordLength);
    const std::size_t want = count * rowLength;
    const off_t at = static_cast<off_t>(layout.nHeaderLength) + static_cast<off_t>(first) * static_cast<off_t>(rowLength);
    const auto got = static_cast<std::size_t>(std::max<std::int64_t>(ReadAt(file.Get(), block.data(), want, at), 0));
    if (got < want)
        throw TableError(path + ": cannot read row " + std::to_string(first + static_cast<long long>(got / rowLength) + 1));
}

FileDescriptor CreateFile(const std::string& path) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.Get() < 0)
        throw TableError(path + ": cannot create the working table: " + std::system_category().message(errno));
    return file;
}

void CloseFile(FileDescriptor& file, const std::string& path) {
    if (!file.Close()) ThrowWriteError(path, errno);
}

// shapelib names a code page by the header's language byte ("LDID/87") unless a
// .cpg file beside the table says otherwise; the copy keeps the byte, and a .cpg
// where the input's code page is not the byte's, so that it decodes as the input.
void WriteCodePage(DBFInfo* in, const std::string& workTable) {
    const char* codePage = DBFGetCodePage(in);
    const int languageByte = in->iLanguageDriver;
    const std::string fromByte = languageByte != 0 ? "LDID/" + std::to_string(languageByte) : std::string();
    if (codePage == nullptr || codePage == fromByte) return;
    const std::string cpgPath = SiblingPath(workTable, ".cpg");
    FileDescriptor cpg = CreateFile(cpgPath);
    Write(cpg, cpgPath, codePage, std::strlen(codePage), 0);
    CloseFile(cpg, cpgPath);
}

void AppendDescriptor(std::string& header, const char* name, char type, int width, int decimals) {
    unsigned char d[kDescriptorSize] = {};
    std::memcpy(d, name, std::min<std::size_t>(std::strlen(name), XBASE_FLDNAME_LEN_READ));
    d[11] = static_cast<unsigned char>(type);
    if (type == 'C') {
        // Text fields wider than 255 bytes keep the high byte of their width in the decimals.
        StoreU16LE(d + 16, static_cast<std::uint16_t>(width));
    } else {
        d[16] = static_cast<unsigned char>(width);
        d[17] = static_cast<unsigned char>(decimals);
    }
    header.append(reinterpret_cast<const char*>(d), sizeof d);
}

std::string WorkingHeader(DBFInfo* in, std::size_t rowLength) {
    const int fields = DBFGetFieldCount(in);
    const std::size_t headerLength = kHeaderSize + kDescriptorSize * static_cast<std::size_t>(fields + 2) + 1;
    unsigned char h[kHeaderSize] = {};
    h[0] = 0x03;  // dBase III without memo
    h[1] = 95;    // the last-update date shapelib writes: 1995-07-26
    h[2] = 7;
    h[3] = 26;
    StoreU32LE(h + 4, static_cast<std::uint32_t>(DBFGetRecordCount(in)));
    StoreU16LE(h + 8, static_cast<std::uint16_t>(headerLength));
    StoreU16LE(h + 10, static_cast<std::uint16_t>(rowLength));
    h[29] = static_cast<unsigned char>(in->iLanguageDriver);
    std::string header(reinterpret_cast<const char*>(h), sizeof h);
    for (int i = 0; i < fields; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        DBFGetFieldInfo(in, i, name, nullptr, nullptr);
        AppendDescriptor(header, name, in->pachFieldType[i], in->panFieldSize[i], in->panFieldDecimals[i]);
    }
    AppendDescriptor(header, kRowNumberField, 'N', kRowNumberWidth, 0);
    AppendDescriptor(header, kRatioField, 'N', kRatioWidth, 0);
    header += kHeaderEnd;
    return header;
}

// The file that shapelib opened for the table: its name with ".dbf", else ".DBF".
FileDescriptor OpenAsShapelib(const std::string& table) {
    for (const char* ext : {".dbf", ".DBF"}) {
        FileDescriptor file(::open(SiblingPath(table, ext).c_str(), O_RDONLY | O_CLOEXEC));
        if (file.Get() >= 0) return file;
    }
    throw TableError(table + ": cannot open the table");
}

// Reads the input's rows in blocks and writes each with its row number and a blank
// ratio; the input's fields are copied as stored, deletion marks kept.
void WriteWorkingTable(DBFInfo* in, const std::string& inputTable, const std::string& workTable) {
    const int fields = DBFGetFieldCount(in);
    const std::size_t inLength = static_cast<std::size_t>(in->nRecordLength);
    // Fields follow each other from byte 1 of a row; the input's row may be longer,
    // never shorter (shapelib refuses such a table, and no copy may read past a row).
    const std::size_t fieldBytes =
        fields == 0 ? 0
                    : static_cast<std::size_t>(in->panFieldOffset[fields - 1] + in->panFieldSize[fields - 1]) - 1;
    if (1 + fieldBytes > inLength)
        throw TableError(inputTable + ": its fields take " + std::to_string(1 + fieldBytes) +
                         " bytes a row, more than its row length of " + std::to_string(inLength));
    const std::size_t outLength = 1 + fieldBytes + kRowNumberWidth + kRatioWidth;

    WriteCodePage(in, workTable);
    const std::string dbfPath = SiblingPath(workTable, ".dbf");
    FileDescriptor out = CreateFile(dbfPath);
    const std::string header = WorkingHeader(in, outLength);
    Write(out, dbfPath, header.data(), header.size(), 0);
    auto written = static_cast<off_t>(header.size());

    const FileDescriptor input = OpenAsShapelib(inputTable);
    const long long rows = DBFGetRecordCount(in);
    const std::size_t blockRows = std::max<std::size_t>(1, kBlockBytes / inLength);
    HugePageVector<char> inBlock(blockRows * inLength);
    HugePageVector<char> outBlock(blockRows * outLength);
    for (long long first = 0; first < rows; first += static_cast<long long>(blockRows)) {
        const auto count = static_cast<std::size_t>(std::min(static_cast<long long>(blockRows), rows - first));
        ReadRows(input, inputTable, *in, first, count, inBlock);
        for (std::size_t r = 0; r < count; ++r) {
            const char* row = inBlock.data() + r * inLength;
            char* copy = outBlock.data() + r * outLength;
            copy[0] = row[0] == '*' ? '*' : ' ';
            std::memcpy(copy + 1, row + 1, fieldBytes);
            // The row number, right-aligned as shapelib writes an integer.
            char* number = copy + 1 + fieldBytes;
            char digits[kRowNumberWidth];
            const auto end = std::to_chars(digits, digits + sizeof digits, first + static_cast<long long>(r) + 1).ptr;
            const auto length = static_cast<std::size_t>(end - digits);
            std::memset(number, ' ', sizeof digits - length);
            std::memcpy(number + sizeof digits - length, digits, length);
            std::memset(number + sizeof digits, ' ', kRatioWidth);
        }
        Write(out, dbfPath, outBlock.data(), count * outLength, written);
        written += static_cast<off_t>(count * outLength);
    }
    Write(out, dbfPath, &kEndOfFile, 1, written);
    CloseFile(out, dbfPath);
}

}  // namespace

void CreateWorkingTable(const std::string& inputTable, const std::string& workTable) {
    // Validates the input (counts against the file's size) before it is copied.
    const DbfTable checked(inputTable);
    DbfHandle in = OpenRaw(inputTable, "rb");
    CheckCopiable(in.get(), checked, inputTable);
    RemoveTableFiles(workTable);
    try {
        WriteWorkingTable(in.get(), inputTable, workTable);
    } catch (...) {
        // Never leave a half-written working table behind.
        RemoveTableFiles(workTable);
        throw;
    }
}

int RatioFieldIndex(const DbfTable& workTable) { return static_cast<int>(workTable.Fields().size()) - 1; }

void Normalize(const std::string& workTable, const std::string& field, const std::string& normaliser) {
    DbfHandle layout;
    std::size_t offset = 0, width = 0;
    long long rows = 0;
    // Each row's ratio as the field stores it: the text, then blanks.
    std::string ratios;
    {
        const DbfTable table(workTable);
        const int f = table.RequireField(field);
        const int g = table.RequireField(normaliser);
        layout = OpenRaw(workTable, "rb");
        const int ratioField = RatioFieldIndex(table);
        offset = static_cast<std::size_t>(layout->panFieldOffset[ratioField]);
        width = static_cast<std::size_t>(layout->panFieldSize[ratioField]);
        rows = table.RecordCount();
        ratios.reserve(static_cast<std::size_t>(rows) * width);
        for (int row = 0; row < table.RecordCount(); ++row) {
            double ratio = 0;
            // A row without either value has no ratio, and so no class.
            if (!table.RatioIfPresent(row, f, g, ratio)) {
                ratios.append(width, ' ');
                continue;
            }
            const std::string text = ShortestText(ratio);
            const std::size_t length = std::min(text.size(), width);
            ratios.append(text, 0, length).append(width - length, ' ');
        }
    }
    // The rows are rewritten in blocks with their ratios put in.
    FileDescriptor file(::open(workTable.c_str(), O_RDWR | O_CLOEXEC));
    if (file.Get() < 0) throw TableError(workTable + ": cannot open the table");
    const auto rowLength = static_cast<std::size_t>(layout->nRecordLength);
    const std::size_t blockRows = std::max<std::size_t>(1, kBlockBytes / rowLength);
    HugePageVector<char> block(blockRows * rowLength);
    for (long long first = 0; first < rows; first += static_cast<long long>(blockRows)) {
        const auto count = static_cast<std::size_t>(std::min(static_cast<long long>(blockRows), rows - first));
        ReadRows(file, workTable, *layout, first, count, block);
        for (std::size_t r = 0; r < count; ++r)
            std::memcpy(block.data() + r * rowLength + offset, ratios.data() + (static_cast<std::size_t>(first) + r) * width, width);
        Write(file, workTable, block.data(), count * rowLength,
                static_cast<off_t>(layout->nHeaderLength) + static_cast<off_t>(first) * static_cast<off_t>(rowLength));
    }
    CloseFile(file, workTable);
}

}  // namespace tessaly
