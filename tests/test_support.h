#pragma once
// Shared helpers of the tests: the real data files, scratch folders, and
// hand-made shapefiles for cases no real file shows.

#include "engine/run_progress.h"
#include "engine/user_messages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tessaly::test {

// A file of the shared real-world data, e.g. SharedData("pyshp/blockgroups.shp").
std::filesystem::path SharedData(const std::string& relative);

// A fresh folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    // Copies every file of a shared data set ("pyshp/latin1") that exists (.shp,
    // .shx, .dbf, .cpg, .prj) and returns the path of its copied .shp.
    std::filesystem::path CopyShared(const std::string& base) const;

private:
    std::filesystem::path path_;
};

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

// Builds the bytes of a .shp file record by record.
class ShpBuilder {
public:
    explicit ShpBuilder(std::int32_t shapeType);

    struct Point { double x, y; };

    void AddNull();
    void AddPoint(double x, double y);
    void AddPolygon(const std::vector<std::int32_t>& parts, const std::vector<Point>& points,
                    std::int32_t type = 5);
    void AddMultiPoint(const std::vector<Point>& points);
    // A record with any content after its 8-byte header.
    void AddRaw(const std::vector<unsigned char>& content);

    std::vector<unsigned char> Bytes() const;  // with the file length filled in

private:
    std::int32_t shapeType_;
    std::int32_t records_ = 0;
    std::vector<unsigned char> body_;
};

void PutInt32LE(std::vector<unsigned char>& out, std::int32_t v);
void PutInt32BE(std::vector<unsigned char>& out, std::int32_t v);
void PutDouble(std::vector<unsigned char>& out, double v);

// Stands in for the windows and the console: keeps every message it is given.
class RecordedMessages : public UserMessages {
public:
    void Progress(const std::string& text) override { progress.push_back(text); }
    void WritingProgress(long long done, long long total) override { percents.push_back(PercentDone(done, total)); }
    void Information(const std::string& text) override { information.push_back(text); }
    void Error(const std::string& text) override { errors.push_back(text); }
    std::vector<std::string> progress, information, errors;
    std::vector<int> percents;
};

// Runs a command with /bin/sh; returns its exit status and standard output.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult RunCommand(const std::string& command);

// tessaly-convert with the given arguments; standard error is in the output too.
CommandResult RunConverter(const std::string& arguments);
// A path in single quotes, for a command line.
std::string Quote(const std::filesystem::path& path);
// A whole file as text.
std::string ReadText(const std::filesystem::path& path);

// Success when the document (a .kml, or the doc.kml of a .kmz) validates against
// the OGC KML 2.2 schema with Google's extensions; else xmllint's complaints.
::testing::AssertionResult ValidKml(const std::filesystem::path& document);

}  // namespace tessaly::test
