// Times tessaly-convert against `ogr2ogr -f KML` on a generated polygon shapefile
// with its attribute table, and measures the converter's peak resident memory,
// also with the same vertex total arranged as many small or a few large records.
//
// Each program runs once, as a child of this one, so wait4() gives its own peak
// resident set. A fresh tessaly-convert always starts by building its working
// table and shape index, so that preparation is part of the time.

#include "bench/synthetic_shapefile.h"

#include <fcntl.h>
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

constexpr double kSpeedGoal = 5.0;     // ogr2ogr time / tessaly-convert time, at least
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

double ToMB(long kilobytes) { return kilobytes / 1024.0; }

double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

long OwnPeakKB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct ChildRun {
    double wall = 0, user = 0, system = 0;
    long peakKB = 0;  // ru_maxrss, in kilobytes on Linux
};

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
                 "usage: %s [--records N] [--vertices V] [--memory-points P] [--converter PATH] [--ogr2ogr PATH]\n"
                 "  --records N        polygons in the timed shapefile, default 100000\n"
                 "  --vertices V       vertices of each polygon's one ring, 4 or more, default 31\n"
                 "  --memory-points P  vertex total of the memory runs, 1000 or more, default 1000000\n"
                 "                     (as P/100 x 100, P/1000 x 1000 and 1 x P vertices)\n"
                 "  --converter PATH   default: tessaly-convert beside this program\n"
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

}  // namespace

int main(int argc, char** argv) {
    std::int64_t records = 100000, vertices = 31, memoryPoints = 1000000;
    fs::path converter, ogr2ogr = "ogr2ogr";
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool ok = value != nullptr;
        if (ok && word == "--records") ok = ReadCount(value, 1, 10000000, records);
        else if (ok && word == "--vertices") ok = ReadCount(value, 4, 100000000, vertices);
        else if (ok && word == "--memory-points") ok = ReadCount(value, 1000, 100000000, memoryPoints);
        else if (ok && word == "--converter") converter = value;
        else if (ok && word == "--ogr2ogr") ogr2ogr = value;
        else ok = false;
        if (!ok) {
            Usage(argv[0]);
            return 1;
        }
        ++i;
    }
    if (!FitsShapefile(records, vertices) || !FitsShapefile(1, memoryPoints)) {
        std::fprintf(stderr, "tessaly-bench-convert: error: the shapefile would pass the 2 GB a .shp can address\n");
        return 1;
    }

    try {
        if (converter.empty()) {
            std::error_code ec;
            fs::path self = fs::read_symlink("/proc/self/exe", ec);
            if (ec) self = fs::absolute(argv[0]);
            converter = self.parent_path() / "tessaly-convert";
        }
        if (access(converter.c_str(), X_OK) != 0)
            throw std::runtime_error(converter.string() + ": no converter there (build the tessaly-convert target, or give --converter)");
        const fs::path ogrPath = FindInPath(ogr2ogr.string());
        if (ogrPath.empty() || access(ogrPath.c_str(), X_OK) != 0)
            throw std::runtime_error(ogr2ogr.string() + ": not found (install gdal-bin, or give --ogr2ogr)");

        const std::string loadAtStart = LoadAverage();
        TempDir dir{fs::temp_directory_path() / ("tessaly-bench-convert-" + std::to_string(getpid()))};
        fs::remove_all(dir.path);
        fs::create_directories(dir.path / "tmp");
        const fs::path tmp = dir.path / "tmp", log = dir.path / "child.log";

        // The timed pair.
        const fs::path shp = dir.path / "bench.shp", tessalyKml = dir.path / "tessaly.kml",
                       ogrKml = dir.path / "ogr2ogr.kml";
        const auto g0 = std::chrono::steady_clock::now();
        const bench::GeneratedShapefile g = bench::WriteSingleRingShapefile(shp, records, static_cast<std::int32_t>(vertices));
        const double generation = std::chrono::duration<double>(std::chrono::steady_clock::now() - g0).count();
        const auto dbfBytes = static_cast<std::int64_t>(fs::file_size(fs::path(shp).replace_extension(".dbf")));

        const ChildRun tessaly = Run({converter.string(), shp.string(), "-o", tessalyKml.string(), "-q"}, log, tmp);
        const std::string tessalyNotes = Tail(log);
        const KmlCheck tessalyOut = CheckKml(tessalyKml, "tessaly-convert", records);
        fs::remove(tessalyKml);
        const ChildRun ogr = Run({ogrPath.string(), "-f", "KML", ogrKml.string(), shp.string()}, log, tmp);
        const KmlCheck ogrOut = CheckKml(ogrKml, "ogr2ogr", records);
        fs::remove(ogrKml);
        for (const char* ext : {".shp", ".shx", ".dbf", ".prj"}) fs::remove(fs::path(shp).replace_extension(ext));

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
            for (const char* ext : {".shp", ".shx", ".dbf", ".prj"}) fs::remove(fs::path(mshp).replace_extension(ext));
        }

        // What a child inherits at fork counts into its peak; this stays small
        // because the generator streams.
        const long ownKB = OwnPeakKB();
        const double ratio = ogr.wall / tessaly.wall;
        const double tessalyMB = ToMB(tessaly.peakKB);
        double lowMB = 1e300, highMB = 0;
        for (const Arrangement& a : arrangements)
            lowMB = std::min(lowMB, ToMB(a.run.peakKB)), highMB = std::max(highMB, ToMB(a.run.peakKB));
        const bool flat = highMB - lowMB <= std::max(kFlatSlackMB, kFlatSlackShare * lowMB);

        std::printf("tessaly-bench-convert: polygon shapefile to KML, one run of each program\n");
        std::printf("  input      %lld records x %lld vertices (one ring) = %lld vertices, lon/lat degrees\n",
                    static_cast<long long>(g.records), static_cast<long long>(vertices),
                    static_cast<long long>(g.vertices));
        std::printf("             .shp %.1f MB, .dbf %.1f MB (NAME text, POP integer, AREA double); made in %.2f s\n",
                    g.bytes / 1e6, dbfBytes / 1e6, generation);
        std::printf("\n  %-30s %8s %8s %8s %10s %10s\n", "program", "wall s", "user s", "sys s", "peak RSS", "KML");
        std::printf("  %-30s %8.3f %8.3f %8.3f %7.1f MB %7.1f MB\n", "tessaly-convert (first run)", tessaly.wall,
                    tessaly.user, tessaly.system, tessalyMB, tessalyOut.bytes / 1e6);
        std::printf("  %-30s %8.3f %8.3f %8.3f %7.1f MB %7.1f MB\n", "ogr2ogr -f KML", ogr.wall, ogr.user, ogr.system,
                    ToMB(ogr.peakKB), ogrOut.bytes / 1e6);
        std::printf("  both documents end with </kml> and hold %lld placemarks\n", static_cast<long long>(records));
        if (!tessalyNotes.empty()) std::printf("  tessaly-convert said: %s\n", tessalyNotes.c_str());

        std::printf("\n  tessaly-convert peak RSS with %lld vertices in total:\n", static_cast<long long>(memoryPoints));
        for (const Arrangement& a : arrangements)
            std::printf("    %8lld %-7s x %-9lld vertices  %7.1f MB  (%.3f s)\n", static_cast<long long>(a.records),
                        a.records == 1 ? "record" : "records", static_cast<long long>(a.vertices), ToMB(a.run.peakKB),
                        a.run.wall);

        char measured[128], goal[128];
        auto goalLine = [&](const char* what, bool met) {
            std::printf("    %-7s %-44s %-34s %s\n", what, measured, goal, Verdict(met));
        };
        std::printf("\n  goals\n");
        std::snprintf(measured, sizeof measured, "ogr2ogr / tessaly-convert wall time %.2fx", ratio);
        std::snprintf(goal, sizeof goal, "at least %.0fx", kSpeedGoal);
        goalLine("speed", ratio >= kSpeedGoal);
        std::snprintf(measured, sizeof measured, "tessaly-convert peak RSS %.1f MB", tessalyMB);
        std::snprintf(goal, sizeof goal, "under %.0f MB", kMemoryGoalMB);
        goalLine("memory", tessalyMB < kMemoryGoalMB);
        std::snprintf(measured, sizeof measured, "peaks %.1f .. %.1f MB over the arrangements", lowMB, highMB);
        std::snprintf(goal, sizeof goal, "within %.0f MB or %.0f%%, all under %.0f MB", kFlatSlackMB,
                      kFlatSlackShare * 100, kMemoryGoalMB);
        goalLine("flat", flat && highMB < kMemoryGoalMB);
        std::printf("  notes: by CPU time (user + sys) ogr2ogr / tessaly-convert is %.2fx; load average %s at the start.\n",
                    (ogr.user + ogr.system) / (tessaly.user + tessaly.system), loadAtStart.c_str());
        std::printf("         Each peak includes up to %.1f MB this program held when it started the child.\n",
                    ToMB(ownKB));
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tessaly-bench-convert: error: %s\n", e.what());
        return 1;
    }
    return 0;
}
