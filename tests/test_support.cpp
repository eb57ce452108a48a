#include "test_support.h"

#include "input/byte_order.h"

#include <array>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <sys/wait.h>

namespace tessaly::test {

namespace fs = std::filesystem;

fs::path SharedData(const std::string& relative) {
    const fs::path p = fs::path(TESSALY_SHARED_DATA) / relative;
    if (!fs::exists(p)) throw std::runtime_error("missing test data file " + p.string());
    return p;
}

TempDir::TempDir() {
    std::random_device rd;
    path_ = fs::temp_directory_path() / ("tessaly-test-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

fs::path TempDir::CopyShared(const std::string& base) const {
    const fs::path source = fs::path(TESSALY_SHARED_DATA) / base;
    const fs::path folder = source.parent_path();
    const std::string stem = source.filename().string();
    bool any = false;
    for (const char* ext : {".shp", ".shx", ".dbf", ".cpg", ".prj"}) {
        const fs::path from = folder / (stem + ext);
        if (!fs::exists(from)) continue;
        const fs::path to = path_ / (stem + ext);
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
        fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write);
        any = true;
    }
    if (!any) throw std::runtime_error("missing test data set " + source.string());
    return path_ / (stem + ".shp");
}

std::vector<unsigned char> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void PutInt32LE(std::vector<unsigned char>& out, std::int32_t v) {
    out.resize(out.size() + 4);
    StoreU32LE(out.data() + out.size() - 4, static_cast<std::uint32_t>(v));
}

void PutInt32BE(std::vector<unsigned char>& out, std::int32_t v) {
    out.resize(out.size() + 4);
    StoreU32BE(out.data() + out.size() - 4, static_cast<std::uint32_t>(v));
}

void PutDouble(std::vector<unsigned char>& out, double v) {
    out.resize(out.size() + 8);
    StoreF64LE(out.data() + out.size() - 8, v);
}

ShpBuilder::ShpBuilder(std::int32_t shapeType) : shapeType_(shapeType) {}

void ShpBuilder::AddRaw(const std::vector<unsigned char>& content) {
    PutInt32BE(body_, ++records_);
    PutInt32BE(body_, static_cast<std::int32_t>(content.size() / 2));
    body_.insert(body_.end(), content.begin(), content.end());
}

void ShpBuilder::AddNull() {
    std::vector<unsigned char> c;
    PutInt32LE(c, 0);
    AddRaw(c);
}

void ShpBuilder::AddPoint(double x, double y) {
    std::vector<unsigned char> c;
    PutInt32LE(c, 1);
    PutDouble(c, x);
    PutDouble(c, y);
    AddRaw(c);
}

namespace {

void PutBox(std::vector<unsigned char>& c, const std::vector<ShpBuilder::Point>& points) {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& p = points[i];
        if (i == 0 || p.x < x0) x0 = p.x;
        if (i == 0 || p.y < y0) y0 = p.y;
        if (i == 0 || p.x > x1) x1 = p.x;
        if (i == 0 || p.y > y1) y1 = p.y;
    }
    for (double v : {x0, y0, x1, y1}) PutDouble(c, v);
}

}  // namespace

void ShpBuilder::AddPolygon(const std::vector<std::int32_t>& parts, const std::vector<Point>& points,
                            std::int32_t type) {
    std::vector<unsigned char> c;
    PutInt32LE(c, type);
    PutBox(c, points);
    PutInt32LE(c, static_cast<std::int32_t>(parts.size()));
    PutInt32LE(c, static_cast<std::int32_t>(points.size()));
    for (std::int32_t p : parts) PutInt32LE(c, p);
    for (const Point& p : points) {
        PutDouble(c, p.x);
        PutDouble(c, p.y);
    }
    AddRaw(c);
}

void ShpBuilder::AddMultiPoint(const std::vector<Point>& points) {
    std::vector<unsigned char> c;
    PutInt32LE(c, 8);
    PutBox(c, points);
    PutInt32LE(c, static_cast<std::int32_t>(points.size()));
    for (const Point& p : points) {
        PutDouble(c, p.x);
        PutDouble(c, p.y);
    }
    AddRaw(c);
}

std::vector<unsigned char> ShpBuilder::Bytes() const {
    std::vector<unsigned char> out;
    PutInt32BE(out, 9994);
    for (int i = 0; i < 5; ++i) PutInt32BE(out, 0);
    PutInt32BE(out, static_cast<std::int32_t>((100 + body_.size()) / 2));
    PutInt32LE(out, 1000);
    PutInt32LE(out, shapeType_);
    for (double v : {-10.0, -20.0, 30.0, 40.0, 0.0, 0.0, 0.0, 0.0}) PutDouble(out, v);
    out.insert(out.end(), body_.begin(), body_.end());
    return out;
}

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buf;
    std::size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) result.output.append(buf.data(), n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

CommandResult RunConverter(const std::string& arguments) {
    return RunCommand(std::string("'") + TESSALY_CONVERT + "' " + arguments + " 2>&1");
}

std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

::testing::AssertionResult ValidKml(const fs::path& document) {
    const std::string schema = Quote(fs::path(TESSALY_KML_SCHEMAS) / "kml22gx.xsd");
    const std::string lint = "xmllint --noout --schema " + schema;
    char magic[2] = {};
    std::ifstream(document, std::ios::binary).read(magic, 2);
    const bool archive = magic[0] == 'P' && magic[1] == 'K';
    const CommandResult r = archive ? RunCommand("unzip -p " + Quote(document) + " doc.kml | " + lint + " - 2>&1")
                                    : RunCommand(lint + " " + Quote(document) + " 2>&1");
    if (r.status == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << document << " does not validate: " << r.output.substr(0, 2000);
}

}  // namespace tessaly::test
