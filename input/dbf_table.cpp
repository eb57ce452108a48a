#include "input/dbf_table.h"

#include "input/letter_case.h"
#include "input/number_text.h"
#include "input/table_file_io.h"
#include "input/value_text.h"

#include <shapefil.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>
#include <sys/stat.h>

namespace tessaly {

namespace {

// shapelib reports problems through a hook; keep the last message for our own error.
thread_local std::string lastLibraryError;

void CaptureLibraryError(const char* message) { lastLibraryError = message ? message : ""; }

constexpr std::size_t kReadAhead = 1 << 16;

DBFHandle AsHandle(void* h) { return static_cast<DBFHandle>(h); }

FieldKind KindOfNativeType(char type) {
    switch (std::toupper(static_cast<unsigned char>(type))) {
        case 'C': case 'D': return FieldKind::Text;
        case 'N': case 'F': return FieldKind::Numeric;
        default: return FieldKind::Other;
    }
}

// Why shapelib would not open the table, read from its header, for a message that
// says more than "not a dBase table". Only explains; shapelib decides.
std::string DiagnoseHeader(const std::string& path, long long fileSize) {
    constexpr int kFileHeader = 32, kFieldHeader = 32;
    if (fileSize < kFileHeader)
        return "the file has " + std::to_string(fileSize) + " bytes, too few for the " +
               std::to_string(kFileHeader) + "-byte table header";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return "cannot read it";
    unsigned char h[kFileHeader] = {};
    const bool got = std::fread(h, 1, sizeof h, f) == sizeof h;
    const int headerLength = h[8] | h[9] << 8;
    const int recordLength = h[10] | h[11] << 8;
    std::string why;
    if (!got) {
        why = "cannot read its header";
    } else if (headerLength < kFileHeader) {
        why = "its header length of " + std::to_string(headerLength) + " bytes is shorter than " +
              std::to_string(kFileHeader);
    } else if (headerLength > fileSize) {
        why = "its header length of " + std::to_string(headerLength) +
              " bytes is more than the file holds (" + std::to_string(fileSize) + ")";
    } else if (recordLength == 0) {
        why = "its record length is 0";
    } else {
        // Each field's width is byte 16 of its descriptor; the records start with a deletion flag.
        const int fields = (headerLength - kFileHeader) / kFieldHeader;
        std::vector<unsigned char> d(static_cast<std::size_t>(fields) * kFieldHeader);
        if (std::fread(d.data(), 1, d.size(), f) == d.size()) {
            long long used = 1;
            for (int i = 0; i < fields; ++i) used += d[static_cast<std::size_t>(i) * kFieldHeader + 16];
            if (used > recordLength)
                why = "its " + std::to_string(fields) + " fields take " + std::to_string(used) +
                      " bytes a record, more than its record length of " +
                      std::to_string(recordLength);
        }
    }
    std::fclose(f);
    return why.empty() ? "not a dBase table" : why;
}

}  // namespace

DbfTable::DbfTable(const std::string& path) : path_(path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        throw TableError(path + ": attribute table not found");
    if (!S_ISREG(st.st_mode)) throw TableError(path + ": not a regular file");
    // shapelib swaps any extension for ".dbf"; refuse other names rather than open another file.
    const std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    if (!EqualIgnoringCase(ext, ".dbf")) throw TableError(path + ": not a dBase table (.dbf)");

    SAHooks hooks = TableFileHooks(kReadAhead, CaptureLibraryError);
    lastLibraryError.clear();
    DBFHandle h = DBFOpenLL(path.c_str(), "rb", &hooks);
    if (h == nullptr) {
        const std::string why = lastLibraryError.empty()
                                    ? DiagnoseHeader(path, static_cast<long long>(st.st_size))
                                    : lastLibraryError;
        throw TableError(path + ": cannot open the attribute table: " + why);
    }
    handle_ = h;

    // The header's counts must fit the bytes that are really there.
    recordCount_ = DBFGetRecordCount(h);
    const long long needed =
        static_cast<long long>(h->nHeaderLength) + static_cast<long long>(recordCount_) * h->nRecordLength;
    if (recordCount_ < 0 || h->nRecordLength <= 0 || needed > static_cast<long long>(st.st_size)) {
        const long long room = h->nRecordLength <= 0
                                   ? 0
                                   : (static_cast<long long>(st.st_size) - h->nHeaderLength) /
                                         h->nRecordLength;
        const std::string message = path + ": the table is cut short: its header promises " +
                                    std::to_string(recordCount_) + " rows, the file holds " +
                                    std::to_string(room < 0 ? 0 : room);
        DBFClose(h);
        handle_ = nullptr;
        throw TableError(message);
    }

    const char* codePage = DBFGetCodePage(h);
    if (codePage != nullptr && std::strncmp(codePage, "LDID/", 5) != 0)
        decoder_ = TextDecoder::FromCpgText(codePage);
    else
        decoder_ = TextDecoder::FromLanguageByte(static_cast<std::uint8_t>(h->iLanguageDriver));

    const int count = DBFGetFieldCount(h);
    for (int i = 0; i < count; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        FieldInfo f;
        DBFGetFieldInfo(h, i, name, &f.width, &f.decimals);
        f.name = decoder_.Decode(name);
        f.nativeType = DBFGetNativeFieldType(h, i);
        f.kind = KindOfNativeType(f.nativeType);
        fields_.push_back(std::move(f));
    }
}

DbfTable::~DbfTable() {
    if (handle_ != nullptr) DBFClose(AsHandle(handle_));
}

int DbfTable::FieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].name == name) return static_cast<int>(i);
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (EqualIgnoringCase(fields_[i].name, name)) return static_cast<int>(i);
    return -1;
}

int DbfTable::RequireField(std::string_view name) const {
    const int i = FieldIndex(name);
    if (i < 0) throw TableError(path_ + ": the table has no field \"" + std::string(name) + "\"");
    return i;
}

bool DbfTable::IsDeleted(int row) const { return DBFIsRecordDeleted(AsHandle(handle_), row) != 0; }

const char* DbfTable::Raw(int row, int field) const {
    lastLibraryError.clear();
    const char* raw = DBFReadStringAttribute(AsHandle(handle_), row, field);
    if (raw == nullptr)
        throw TableError(path_ + ": cannot read row " + std::to_string(row + 1) +
                         (lastLibraryError.empty() ? std::string() : ": " + lastLibraryError));
    return raw;
}

std::string DbfTable::Text(int row, int field) const {
    std::string text;
    AppendText(row, field, text);
    return text;
}

void DbfTable::AppendText(int row, int field, std::string& out) const {
    const char* raw = Raw(row, field);
    const FieldInfo& info = fields_[static_cast<std::size_t>(field)];
    if (info.kind == FieldKind::Numeric) {
        // dBase writes a number that is missing or did not fit its width as asterisks.
        if (raw[0] != '*') out += ReadableNumber(raw);
        return;
    }
    if (FoldCase(static_cast<unsigned char>(info.nativeType)) == 'd') {
        out += ReadableDate(decoder_.Decode(raw));
        return;
    }
    decoder_.DecodeAppend(raw, out);
}

double DbfTable::Number(int row, int field) const { return TextToNumber(Raw(row, field)); }

bool DbfTable::NumberIfPresent(int row, int field, double& value) const {
    const char* raw = Raw(row, field);
    while (*raw == ' ') ++raw;
    if (*raw == '\0' || *raw == '*') return false;
    value = TextToNumber(raw);
    return true;
}

bool DbfTable::RatioIfPresent(int row, int field, int normaliser, double& value) const {
    double v = 0, n = 0;
    if (!NumberIfPresent(row, field, v)) return false;
    if (normaliser >= 0) {
        if (!NumberIfPresent(row, normaliser, n)) return false;
        v = RatioOf(v, n);
    }
    value = v;
    return true;
}

std::string AttributeTablePathOf(const std::string& shapefilePath) {
    std::filesystem::path p(shapefilePath);
    const std::string ext = p.extension().string();
    return p.replace_extension(ext.size() > 1 && ext[1] == 'S' ? ".DBF" : ".dbf").string();
}

}  // namespace tessaly
