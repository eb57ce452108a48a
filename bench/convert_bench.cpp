// Times tessaly-convert side by side with `ogr2ogr -f KML` and with the formatting
// floor (tessaly-bench-floor: read the .shp, write every vertex) on a generated
// polygon shapefile and on labelled points (also with a two-field balloon), each with
// its attribute table; measures
// the converter's peak resident memory, also with one vertex total arranged as many
// small or a few large records.
//
// Each program runs as a child of this one, so wait4() gives its own peak resident
// set. A fresh tessaly-convert always starts by building its working table and
// shape index, so that preparation is part of the time. With --runs N every program
// runs N times in turn; the polygons are also written as a KMZ, whose size is set
// against the document deflated by zlib at its default level 6, and the points as
// a plain KMZ and as a KMZ of tiles with regions (--regions); the goals are judged
// on each program's best time, and the range of the ratios over the rounds is shown
// beside it. --case and --no-ogr2ogr narrow a run down to the converter alone on one
// case, for comparing two builds; without ogr2ogr on the machine the comparisons
// with it are skipped, and said to be.

#include "bench/synthetic_shapefile.h"

#include <fcntl.h>
#include <zlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using namespace tessaly;

namespace {

constexpr double kPolygonSpeedGoal = 8.0;  // ogr2ogr time / tessaly-convert time on polygons, at least
constexpr double kPointSpeedGoal = 5.0;    // the same on labelled points, at least
constexpr double kBalloonSpeedGoal = 5.0;  // the same on labelled points with a balloon, at least
constexpr double kFloorGoal = 1.5;         // tessaly-convert time / formatting floor time, at most
constexpr double kKmzTimeGoal = 2.5;    // KMZ time / KML time on polygons, at most
constexpr double kRegionTimeGoal = 3.0;  // regionated KMZ time / plain KMZ time on points, at most
constexpr double kRegionMemoryGoalMB = 256;
constexpr double kMemoryGoalMB = 64;   // tessaly-convert's peak resident memory, under
constexpr double kFlatSlackMB = 2;     // memory counts as flat when the peaks lie within
constexpr double kFlatSlackShare = 0.25;  // this much, or this share of the smallest

struct TempDir {
    fs::path path;
    ~TempDir() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
};

// The size of the file deflated by zlib at level 6, as a KMZ made with zlib would hold it.
std::int64_t ZlibLevel6Size(const fs::path& path) {
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("zlib: cannot start");
    std::ifstream in(path, std::ios::binary);
    std::vector<char> block(1 << 20);
    std::vector<unsigned char> out(1 << 20);
    std::int64_t total = 0;
    int result = Z_OK;
    do {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        z.next_in = reinterpret_cast<Bytef*>(block.data());
        z.avail_in = static_cast<uInt>(in.gcount());
        const int flush = in ? Z_NO_FLUSH : Z_FINISH;
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            result = deflate(&z, flush);
            total += static_cast<std::int64_t>(out.size() - z.avail_out);
        } while (z.avail_out == 0);
    } while (result != Z_STREAM_END);
    deflateEnd(&z);
    return total;
}

double ToMB(long kilobytes) { return kilobytes / 1024.0; }

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

std::string FormatRatio(double r) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", r);
    return text;
}

long OwnPeakKB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct ChildRun {
    double wall = 0, user = 0, system = 0;
    long peakKB = 0;  // ru_maxrss, in kilobytes on Linux
};

double CpuSeconds(const ChildRun& r) { return r.user + r.system; }

std::string Tail(const fs::path& log, std::size_t maxBytes = 2000) {
    std::ifstream in(log, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.size() > maxBytes) text = "..." + text.substr(text.size() - maxBytes);
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

// Runs argv[0] (a path, or a name looked up in PATH) with its standard output and
// error going to `log`, and TMPDIR set to `tmpDir` so that nothing the child leaves
// behind escapes our own folder. Throws when it cannot start or does not exit with 0.
ChildRun Run(const std::vector<std::string>& args, const fs::path& log, const fs::path& tmpDir) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::string tmpVariable = "TMPDIR=" + tmpDir.string();
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e)
        if (std::strncmp(*e, "TMPDIR=", 7) != 0) envp.push_back(*e);
    envp.push_back(const_cast<char*>(tmpVariable.c_str()));
    envp.push_back(nullptr);
    const std::string logPath = log.string();

    std::fflush(nullptr);
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid < 0) throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (pid == 0) {
        const int fd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int devNull = open("/dev/null", O_RDONLY);
        if (fd < 0 || devNull < 0) _exit(126);
        dup2(devNull, STDIN_FILENO);
        dup2(fd, STDOUT_FILENO);
        dup2(fd, STDERR_FILENO);
        execvpe(argv[0], argv.data(), envp.data());
        const char* why = std::strerror(errno);
        (void)!write(STDERR_FILENO, "cannot start: ", 14);
        (void)!write(STDERR_FILENO, why, std::strlen(why));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0)
        if (errno != EINTR) throw std::runtime_error(std::string("wait4: ") + std::strerror(errno));
    ChildRun r;
    r.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    r.user = Seconds(usage.ru_utime);
    r.system = Seconds(usage.ru_stime);
    r.peakKB = usage.ru_maxrss;

    std::string how;
    if (WIFSIGNALED(status)) how = "was killed by signal " + std::to_string(WTERMSIG(status));
    else if (WIFEXITED(status) && WEXITSTATUS(status) != 0) how = "exited with " + std::to_string(WEXITSTATUS(status));
    if (!how.empty()) {
        std::string what = args[0];
        for (std::size_t i = 1; i < args.size(); ++i) what += " " + args[i];
        const std::string said = Tail(log);
        throw std::runtime_error(what + " " + how + (said.empty() ? "" : ":\n" + said));
    }
    return r;
}

struct KmlCheck {
    std::int64_t bytes = 0;
    std::int64_t placemarks = 0;
};

// Checks a written document is there, is not empty, ends its <kml> element and
// holds `expected` placemarks.
KmlCheck CheckKml(const fs::path& path, const std::string& writer, std::int64_t expected) {
    std::error_code ec;
    KmlCheck c;
    c.bytes = fs::exists(path, ec) ? static_cast<std::int64_t>(fs::file_size(path, ec)) : -1;
    if (c.bytes < 0) throw std::runtime_error(writer + " wrote no " + path.filename().string());
    if (c.bytes == 0) throw std::runtime_error(writer + " wrote an empty " + path.filename().string());

    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) throw std::runtime_error(path.string() + ": cannot open");
    static const std::string tag = "<Placemark";
    std::vector<char> block(1 << 16);
    std::string carry, last;
    std::size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), f)) > 0) {
        std::string text = carry + std::string(block.data(), got);
        for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1)) {
            if (at + tag.size() >= text.size()) break;  // decided with the next block
            const char next = text[at + tag.size()];
            if (next == '>' || next == ' ' || next == '\n' || next == '\t' || next == '\r') ++c.placemarks;
        }
        const std::size_t keep = std::min(text.size(), tag.size());
        carry = text.substr(text.size() - keep);
        last = text.size() > 64 ? text.substr(text.size() - 64) : text;
    }
    std::fclose(f);
    while (!last.empty() && std::isspace(static_cast<unsigned char>(last.back()))) last.pop_back();
    if (last.size() < 6 || last.compare(last.size() - 6, 6, "</kml>") != 0)
        throw std::runtime_error(writer + ": " + path.filename().string() + " does not end with </kml>");
    if (c.placemarks != expected)
        throw std::runtime_error(writer + ": " + path.filename().string() + " holds " +
                                 std::to_string(c.placemarks) + " placemarks, expected " + std::to_string(expected));
    return c;
}

bool ReadCount(const char* text, std::int64_t low, std::int64_t high, std::int64_t& value) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || v < low || v > high) return false;
    value = v;
    return true;
}

// A shapefile can address 2 GB (1 GiWord) of .shp; keep well inside it.
bool FitsShapefile(std::int64_t records, std::int64_t vertices) {
    return records * (8 + 44 + 4 + 16 * vertices) + 100 <= 2000000000LL;
}

fs::path FindInPath(const std::string& name) {
    if (name.find('/') != std::string::npos) return name;
    const char* path = std::getenv("PATH");
    std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t from = 0;
    while (from <= dirs.size()) {
        const std::size_t to = std::min(dirs.find(':', from), dirs.size());
        const fs::path candidate = fs::path(dirs.substr(from, to - from)) / name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        from = to + 1;
    }
    return {};
}

void Usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--records N] [--vertices V] [--points P] [--memory-points P] [--runs R]\n"
                 "          [--case polygons|points] [--no-ogr2ogr] [--converter PATH] [--floor PATH] [--ogr2ogr PATH]\n"
                 "  --records N        polygons in the timed polygon shapefile, default 100000\n"
                 "  --vertices V       vertices of each polygon's one ring, 4 or more, default 31\n"
                 "  --points P         labelled points in the timed point shapefile, default 1000000\n"
                 "  --memory-points P  vertex total of the memory runs, 1000 or more, default 1000000\n"
                 "                     (as P/100 x 100, P/1000 x 1000 and 1 x P vertices)\n"
                 "  --runs R           times each timed program runs, 1..20, default 1\n"
                 "  --case C           only the polygon or only the point shapefile, and no memory runs\n"
                 "  --no-ogr2ogr       time the converter (and the floor) only, without the goals\n"
                 "  --converter PATH   default: tessaly-convert beside this program\n"
                 "  --floor PATH       default: tessaly-bench-floor beside this program\n"
                 "  --ogr2ogr PATH     default: ogr2ogr from PATH\n",
                 program);
}

// The 1-minute load average: wall times mean little on a busy machine.
std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one;
    in >> one;
    return one.empty() ? "unknown" : one;
}

const char* Verdict(bool met) { return met ? "met" : "NOT met"; }

constexpr const char* kNoOgr = "skipped: no ogr2ogr";

fs::path Beside(const char* argv0, const std::string& name) {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) self = fs::absolute(argv0);
    return self.parent_path() / name;
}

// One program's runs over the rounds.
struct Series {
    std::string name;
    std::vector<ChildRun> runs;

    const ChildRun& Best() const {
        return *std::min_element(runs.begin(), runs.end(), [](const ChildRun& a, const ChildRun& b) { return a.wall < b.wall; });
    }
    double Worst() const {
        double w = 0;
        for (const ChildRun& r : runs) w = std::max(w, r.wall);
        return w;
    }
    long PeakKB() const {
        long p = 0;
        for (const ChildRun& r : runs) p = std::max(p, r.peakKB);
        return p;
    }
};

// numerator / denominator for each round: lowest and highest.
std::pair<double, double> RatioRange(const Series& numerator, const Series& denominator) {
    double low = 1e300, high = 0;
    for (std::size_t i = 0; i < numerator.runs.size() && i < denominator.runs.size(); ++i) {
        const double r = numerator.runs[i].wall / denominator.runs[i].wall;
        low = std::min(low, r), high = std::max(high, r);
    }
    return {low, high};
}

void PrintSeries(const Series& s, std::int64_t outputBytes) {
    const ChildRun& b = s.Best();
    std::printf("  %-30s %8.3f %8.3f %8.3f %8.3f %7.1f MB %8.1f MB\n", s.name.c_str(), b.wall, s.Worst(), b.user,
                b.system, ToMB(s.PeakKB()), outputBytes / 1e6);
}

void PrintTableHead() {
    std::printf("  %-30s %8s %8s %8s %8s %10s %11s\n", "program", "best s", "worst s", "user s", "sys s", "peak RSS",
                "output");
}

void RemoveShapefile(const fs::path& shp) {
    for (const char* ext : {".shp", ".shx", ".dbf", ".prj"}) fs::remove(fs::path(shp).replace_extension(ext));
}

}  // namespace

int main(int argc, char** argv) {
    std::int64_t records = 100000, vertices = 31, points = 1000000, memoryPoints = 1000000, rounds = 1;
    fs::path converter, floorProgram, ogr2ogr = "ogr2ogr";
    bool polygonCase = true, pointCase = true, withOgr = true;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--no-ogr2ogr") {
            withOgr = false;
            continue;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (ok && word == "--records") ok = ReadCount(value, 1, 10000000, records);
        else if (ok && word == "--vertices") ok = ReadCount(value, 4, 100000000, vertices);
        else if (ok && word == "--points") ok = ReadCount(value, 1, 50000000, points);
        else if (ok && word == "--memory-points") ok = ReadCount(value, 1000, 100000000, memoryPoints);
        else if (ok && word == "--runs") ok = ReadCount(value, 1, 20, rounds);
        else if (ok && word == "--case" && (std::strcmp(value, "polygons") == 0 || std::strcmp(value, "points") == 0))
            polygonCase = std::strcmp(value, "polygons") == 0, pointCase = !polygonCase;
        else if (ok && word == "--converter") converter = value;
        else if (ok && word == "--floor") floorProgram = value;
        else if (ok && word == "--ogr2ogr") ogr2ogr = value;
        else ok = false;
        if (!ok) {
            Usage(argv[0]);
            return 1;
        }
        ++i;
    }
    if (!FitsShapefile(records, vertices) || !FitsShapefile(1, memoryPoints) || !FitsShapefile(points, 0)) {
        std::fprintf(stderr, "tessaly-bench-convert: error: the shapefile would pass the 2 GB a .shp can address\n");
        return 1;
    }

    try {
        if (converter.empty()) converter = Beside(argv[0], "tessaly-convert");
        if (floorProgram.empty()) floorProgram = Beside(argv[0], "tessaly-bench-floor");
        for (const fs::path& p : {converter, floorProgram})
            if (access(p.c_str(), X_OK) != 0)
                throw std::runtime_error(p.string() + ": no program there (build the benchmarks, or name it)");
        const fs::path ogrPath = withOgr ? FindInPath(ogr2ogr.string()) : fs::path();
        const bool haveOgr = !ogrPath.empty() && access(ogrPath.c_str(), X_OK) == 0;

        const std::string loadAtStart = LoadAverage();
        TempDir dir{fs::temp_directory_path() / ("tessaly-bench-convert-" + std::to_string(getpid()))};
        fs::remove_all(dir.path);
        fs::create_directories(dir.path / "tmp");
        const fs::path tmp = dir.path / "tmp", log = dir.path / "child.log";
        const fs::path tessalyKml = dir.path / "tessaly.kml", ogrKml = dir.path / "ogr2ogr.kml",
                       floorText = dir.path / "floor.txt";

        // Polygons: the converter, ogr2ogr and the floor, round by round.
        const fs::path shp = dir.path / "polygons.shp";
        bench::GeneratedShapefile g;
        double polygonGeneration = 0;
        std::int64_t polygonDbf = 0;
        const fs::path tessalyKmz = dir.path / "tessaly.kmz";
        // Times the converter writing tessalyKmz; the archive's size.
        auto runKmz = [&](Series& series, const std::vector<std::string>& args) {
            series.runs.push_back(Run(args, log, tmp));
            const auto bytes = static_cast<std::int64_t>(fs::file_size(tessalyKmz));
            fs::remove(tessalyKmz);
            return bytes;
        };
        Series polyKmz{"tessaly-convert, KMZ", {}};
        std::int64_t kmzBytes = 0, zlibBytes = 0;
        Series polyTessaly{"tessaly-convert", {}}, polyOgr{"ogr2ogr -f KML", {}}, polyFloor{"formatting floor", {}};
        KmlCheck polyTessalyOut, polyOgrOut;
        std::int64_t floorBytes = 0;
        std::string tessalyNotes;
        if (polygonCase) {
            const auto g0 = std::chrono::steady_clock::now();
            g = bench::WriteSingleRingShapefile(shp, records, static_cast<std::int32_t>(vertices));
            polygonGeneration = std::chrono::duration<double>(std::chrono::steady_clock::now() - g0).count();
            polygonDbf = static_cast<std::int64_t>(fs::file_size(fs::path(shp).replace_extension(".dbf")));
        }
        for (std::int64_t round = 0; polygonCase && round < rounds; ++round) {
            polyTessaly.runs.push_back(Run({converter.string(), shp.string(), "-o", tessalyKml.string(), "-q"}, log, tmp));
            tessalyNotes = Tail(log);
            polyTessalyOut = CheckKml(tessalyKml, "tessaly-convert", records);
            if (round == 0) zlibBytes = ZlibLevel6Size(tessalyKml);
            fs::remove(tessalyKml);
            kmzBytes = runKmz(polyKmz, {converter.string(), shp.string(), "-o", tessalyKmz.string(), "-q"});
            if (haveOgr) {
                polyOgr.runs.push_back(Run({ogrPath.string(), "-f", "KML", ogrKml.string(), shp.string()}, log, tmp));
                polyOgrOut = CheckKml(ogrKml, "ogr2ogr", records);
                fs::remove(ogrKml);
            }
            polyFloor.runs.push_back(Run({floorProgram.string(), shp.string(), floorText.string()}, log, tmp));
            floorBytes = static_cast<std::int64_t>(fs::file_size(floorText));
            fs::remove(floorText);
        }
        if (polygonCase) RemoveShapefile(shp);

        // Labelled points: the converter sorts them by NAME, ogr2ogr writes them as they
        // come (with every field). Then the same with NAME and VALUE in each balloon.
        const fs::path pointShp = dir.path / "points.shp";
        double pointGeneration = 0;
        std::int64_t pointShpBytes = 0, pointDbf = 0;
        if (pointCase) {
            const auto g0 = std::chrono::steady_clock::now();
            bench::WriteLabelledPointShapefile(pointShp, points);
            pointGeneration = std::chrono::duration<double>(std::chrono::steady_clock::now() - g0).count();
            pointShpBytes = static_cast<std::int64_t>(fs::file_size(pointShp));
            pointDbf = static_cast<std::int64_t>(fs::file_size(fs::path(pointShp).replace_extension(".dbf")));
        }
        Series pointTessaly{"tessaly-convert", {}}, pointOgr{"ogr2ogr -f KML", {}},
            balloonTessaly{"tessaly-convert, balloon", {}};
        Series pointKmz{"tessaly-convert, KMZ", {}}, pointRegions{"tessaly-convert, KMZ --regions", {}};
        std::int64_t pointKmzBytes = 0, pointRegionsBytes = 0, pointZlibBytes = 0;
        KmlCheck pointTessalyOut, pointOgrOut, balloonTessalyOut;
        for (std::int64_t round = 0; pointCase && round < rounds; ++round) {
            pointTessaly.runs.push_back(Run({converter.string(), pointShp.string(), "-o", tessalyKml.string(), "-q"}, log, tmp));
            pointTessalyOut = CheckKml(tessalyKml, "tessaly-convert", points);
            if (round == 0) pointZlibBytes = ZlibLevel6Size(tessalyKml);
            fs::remove(tessalyKml);
            balloonTessaly.runs.push_back(Run({converter.string(), pointShp.string(), "-o", tessalyKml.string(), "-q",
                                               "--label", "NAME", "--balloon", "NAME,VALUE"},
                                              log, tmp));
            balloonTessalyOut = CheckKml(tessalyKml, "tessaly-convert", points);
            fs::remove(tessalyKml);
            pointKmzBytes = runKmz(pointKmz, {converter.string(), pointShp.string(), "-o", tessalyKmz.string(), "-q"});
            pointRegionsBytes =
                runKmz(pointRegions, {converter.string(), pointShp.string(), "-o", tessalyKmz.string(), "-q", "--regions"});
            if (haveOgr) {
                pointOgr.runs.push_back(Run({ogrPath.string(), "-f", "KML", ogrKml.string(), pointShp.string()}, log, tmp));
                pointOgrOut = CheckKml(ogrKml, "ogr2ogr", points);
                fs::remove(ogrKml);
            }
        }
        if (pointCase) RemoveShapefile(pointShp);

        std::printf("tessaly-bench-convert: shapefile to KML, %lld %s of each program, load average %s at the start\n",
                    static_cast<long long>(rounds), rounds == 1 ? "run" : "runs", loadAtStart.c_str());
        if (polygonCase) {
            std::printf("\n  polygons   %lld records x %lld vertices (one ring) = %lld vertices, lon/lat degrees\n",
                        static_cast<long long>(g.records), static_cast<long long>(vertices),
                        static_cast<long long>(g.vertices));
            std::printf("             .shp %.1f MB, .dbf %.1f MB (NAME text, POP integer, AREA double); made in %.2f s\n",
                        g.bytes / 1e6, polygonDbf / 1e6, polygonGeneration);
            PrintTableHead();
            PrintSeries(polyTessaly, polyTessalyOut.bytes);
            PrintSeries(polyKmz, kmzBytes);
            std::printf("  %-30s %46s %8.1f MB\n", "the KML deflated by zlib -6", "", zlibBytes / 1e6);
            if (haveOgr) PrintSeries(polyOgr, polyOgrOut.bytes);
            PrintSeries(polyFloor, floorBytes);
            if (!tessalyNotes.empty()) std::printf("  tessaly-convert said: %s\n", tessalyNotes.c_str());
        }
        if (pointCase) {
            std::printf("\n  points     %lld labelled points, lon/lat degrees\n", static_cast<long long>(points));
            std::printf("             .shp %.1f MB, .dbf %.1f MB (NAME text, the label, POP integer, VALUE number); made in %.2f s\n",
                        pointShpBytes / 1e6, pointDbf / 1e6, pointGeneration);
            std::printf("             the balloon runs add --label NAME --balloon NAME,VALUE\n");
            PrintTableHead();
            PrintSeries(pointTessaly, pointTessalyOut.bytes);
            PrintSeries(balloonTessaly, balloonTessalyOut.bytes);
            PrintSeries(pointKmz, pointKmzBytes);
            PrintSeries(pointRegions, pointRegionsBytes);
            if (haveOgr) PrintSeries(pointOgr, pointOgrOut.bytes);
        }
        std::printf("  every document ends with </kml> and holds one placemark a record\n");
        if (!polygonCase || !pointCase || !withOgr) return 0;

        // The same vertex total as many small records, fewer larger ones and a single one.
        struct Arrangement {
            std::int64_t records, vertices;
            ChildRun run;
        };
        std::vector<Arrangement> arrangements{{memoryPoints / 100, 100, {}}, {memoryPoints / 1000, 1000, {}},
                                              {1, memoryPoints, {}}};
        for (Arrangement& a : arrangements) {
            const fs::path mshp = dir.path / "memory.shp", mkml = dir.path / "memory.kml";
            bench::WriteSingleRingShapefile(mshp, a.records, static_cast<std::int32_t>(a.vertices));
            a.run = Run({converter.string(), mshp.string(), "-o", mkml.string(), "-q"}, log, tmp);
            CheckKml(mkml, "tessaly-convert", a.records);
            fs::remove(mkml);
            RemoveShapefile(mshp);
        }

        // What a child inherits at fork counts into its peak; this stays small
        // because the generators stream.
        const long ownKB = OwnPeakKB();
        const double floorRatio = polyTessaly.Best().wall / polyFloor.Best().wall;
        const double polyMB = ToMB(polyTessaly.PeakKB()), pointMB = ToMB(pointTessaly.PeakKB()),
                     balloonMB = ToMB(balloonTessaly.PeakKB());
        double lowMB = 1e300, highMB = 0;
        for (const Arrangement& a : arrangements)
            lowMB = std::min(lowMB, ToMB(a.run.peakKB)), highMB = std::max(highMB, ToMB(a.run.peakKB));
        const bool flat = highMB - lowMB <= std::max(kFlatSlackMB, kFlatSlackShare * lowMB);

        std::printf("\n  tessaly-convert peak RSS with %lld vertices in total:\n", static_cast<long long>(memoryPoints));
        for (const Arrangement& a : arrangements)
            std::printf("    %8lld %-7s x %-9lld vertices  %7.1f MB  (%.3f s)\n", static_cast<long long>(a.records),
                        a.records == 1 ? "record" : "records", static_cast<long long>(a.vertices), ToMB(a.run.peakKB),
                        a.run.wall);

        char measured[160], goal[128];
        auto goalLine = [&](const char* what, bool met) {
            std::printf("    %-14s %-58s %-30s %s\n", what, measured, goal, Verdict(met));
        };
        auto range = [&](const Series& a, const Series& b) {
            const auto [low, high] = RatioRange(a, b);
            return rounds == 1 ? std::string() : " (rounds " + FormatRatio(low) + " .. " + FormatRatio(high) + ")";
        };
        // A speed goal against ogr2ogr: ogr2ogr's best time over the converter's.
        auto speedGoal = [&](const char* what, const Series& ours, const Series& ogr, double least) {
            std::snprintf(goal, sizeof goal, "at least %.0fx", least);
            if (!haveOgr) {
                std::printf("    %-14s %-58s %-30s %s\n", what, "ogr2ogr / tessaly-convert", goal, kNoOgr);
                return;
            }
            const double ratio = ogr.Best().wall / ours.Best().wall;
            std::snprintf(measured, sizeof measured, "ogr2ogr / tessaly-convert %.2fx%s", ratio, range(ogr, ours).c_str());
            goalLine(what, ratio >= least);
        };
        std::printf("\n  goals (best times)\n");
        speedGoal("polygon speed", polyTessaly, polyOgr, kPolygonSpeedGoal);
        std::snprintf(measured, sizeof measured, "tessaly-convert / floor %.2fx%s", floorRatio, range(polyTessaly, polyFloor).c_str());
        std::snprintf(goal, sizeof goal, "at most %.1fx", kFloorGoal);
        goalLine("polygon floor", floorRatio <= kFloorGoal);
        speedGoal("point speed", pointTessaly, pointOgr, kPointSpeedGoal);
        speedGoal("balloon speed", balloonTessaly, pointOgr, kBalloonSpeedGoal);
        const double kmzRatio = polyKmz.Best().wall / polyTessaly.Best().wall;
        std::snprintf(measured, sizeof measured, "KMZ / KML time %.2fx%s", kmzRatio, range(polyKmz, polyTessaly).c_str());
        std::snprintf(goal, sizeof goal, "at most %.1fx", kKmzTimeGoal);
        goalLine("KMZ speed", kmzRatio <= kKmzTimeGoal);
        std::snprintf(measured, sizeof measured, "KMZ %.2f MB, the KML by zlib -6 %.2f MB", kmzBytes / 1e6, zlibBytes / 1e6);
        std::snprintf(goal, sizeof goal, "no larger");
        goalLine("KMZ size", kmzBytes <= zlibBytes);
        std::snprintf(measured, sizeof measured, "points: KMZ %.2f MB, by zlib -6 %.2f MB", pointKmzBytes / 1e6,
                      pointZlibBytes / 1e6);
        goalLine("KMZ size", pointKmzBytes <= pointZlibBytes);
        const double kmzMB = ToMB(polyKmz.PeakKB());
        std::snprintf(measured, sizeof measured, "tessaly-convert peak RSS %.1f MB writing the KMZ", kmzMB);
        std::snprintf(goal, sizeof goal, "under %.0f MB", kMemoryGoalMB);
        goalLine("memory", kmzMB < kMemoryGoalMB);
        const double regionRatio = pointRegions.Best().wall / pointKmz.Best().wall;
        std::snprintf(measured, sizeof measured, "regionated / plain KMZ time on points %.2fx%s", regionRatio,
                      range(pointRegions, pointKmz).c_str());
        std::snprintf(goal, sizeof goal, "at most %.1fx", kRegionTimeGoal);
        goalLine("regions speed", regionRatio <= kRegionTimeGoal);
        const double regionMB = ToMB(pointRegions.PeakKB());
        std::snprintf(measured, sizeof measured, "tessaly-convert peak RSS %.1f MB writing the tiles", regionMB);
        std::snprintf(goal, sizeof goal, "under %.0f MB", kRegionMemoryGoalMB);
        goalLine("regions memory", regionMB < kRegionMemoryGoalMB);
        std::snprintf(measured, sizeof measured, "tessaly-convert peak RSS %.1f MB on polygons", polyMB);
        std::snprintf(goal, sizeof goal, "under %.0f MB", kMemoryGoalMB);
        goalLine("memory", polyMB < kMemoryGoalMB);
        std::snprintf(measured, sizeof measured, "tessaly-convert peak RSS %.1f MB on points", pointMB);
        goalLine("memory", pointMB < kMemoryGoalMB);
        std::snprintf(measured, sizeof measured, "tessaly-convert peak RSS %.1f MB on points with a balloon", balloonMB);
        goalLine("memory", balloonMB < kMemoryGoalMB);
        std::snprintf(measured, sizeof measured, "peaks %.1f .. %.1f MB over the arrangements", lowMB, highMB);
        std::snprintf(goal, sizeof goal, "within %.0f MB or %.0f%%, < %.0f MB", kFlatSlackMB, kFlatSlackShare * 100,
                      kMemoryGoalMB);
        goalLine("flat", flat && highMB < kMemoryGoalMB);
        if (haveOgr)
            std::printf("  notes: by CPU time (user + sys) ogr2ogr / tessaly-convert is %.2fx on polygons, %.2fx on points,\n"
                        "         %.2fx on points with a balloon.\n",
                        CpuSeconds(polyOgr.Best()) / CpuSeconds(polyTessaly.Best()),
                        CpuSeconds(pointOgr.Best()) / CpuSeconds(pointTessaly.Best()),
                        CpuSeconds(pointOgr.Best()) / CpuSeconds(balloonTessaly.Best()));
        else
            std::printf("  notes: %s not found: the comparisons with it are skipped.\n", ogr2ogr.string().c_str());
        std::printf("         Each peak includes up to %.1f MB this program held when it started the child.\n",
                    ToMB(ownKB));
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tessaly-bench-convert: error: %s\n", e.what());
        return 1;
    }
    return 0;
}
