#include "cli/batch_command.h"

#include "cli/choice_parsing.h"
#include "cli/console_messages.h"
#include "cli/convert_command.h"
#include "engine/kmz_output.h"
#include "input/letter_case.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace tessaly::cli {

namespace {

struct Job {
    std::string input;
    std::string output;
    std::string name;  // the input's file name, which starts its messages
};

bool NamesFolder(const std::string& path) {
    return !path.empty() && (path.back() == '/' || fs::is_directory(path));
}

bool IsShapefile(const fs::path& path) { return EqualIgnoringCase(path.extension().string(), ".shp"); }

// A path ending in .kml or .kmz stands for one document, never for a folder to make.
bool NamesDocument(const std::string& path) {
    return IsKmzPath(path) || EqualIgnoringCase(fs::path(path).extension().string(), ".kml");
}

// The inputs, a folder standing for its own shapefiles in name order.
std::vector<std::string> Inputs(const CommandLine& line) {
    std::vector<std::string> inputs;
    for (const std::string& input : line.inputs) {
        if (!fs::is_directory(input)) {
            inputs.push_back(input);
            continue;
        }
        std::vector<std::string> found;
        for (const fs::directory_entry& e : fs::directory_iterator(input))
            if (IsShapefile(e.path()) && e.is_regular_file()) found.push_back(e.path().string());
        if (found.empty()) throw std::invalid_argument(input + " holds no shapefile (.shp)");
        std::sort(found.begin(), found.end());
        inputs.insert(inputs.end(), found.begin(), found.end());
    }
    return inputs;
}

std::vector<Job> Jobs(const CommandLine& line) {
    const std::string extension = line.Has("--kmz") ? ".kmz" : ".kml";
    const bool intoFolder = line.Has("-o");
    if (intoFolder && fs::exists(line.values.at("-o")) && !fs::is_directory(line.values.at("-o")))
        throw std::invalid_argument("-o: " + line.values.at("-o") + " is a file; many inputs are written into a folder");
    if (intoFolder && !fs::is_directory(line.values.at("-o")) && NamesDocument(line.values.at("-o")))
        throw std::invalid_argument("-o: " + line.values.at("-o") + " names a document; many inputs are written into a folder");
    std::vector<Job> jobs;
    std::map<std::string, std::string> byName;
    for (const std::string& input : Inputs(line)) {
        Job job{input, "", fs::path(input).filename().string()};
        const std::string stem = fs::path(input).stem().string();
        job.output = intoFolder ? (fs::path(line.values.at("-o")) / (stem + extension)).string()
                                : fs::path(input).replace_extension(extension).string();
        const auto [at, added] = byName.emplace(stem, input);
        if (!added) throw std::invalid_argument(at->second + " and " + input + " have the same name; their documents would be one");
        jobs.push_back(std::move(job));
    }
    return jobs;
}

unsigned JobCount(const CommandLine& line, std::size_t inputs) {
    unsigned n = std::max(1u, std::thread::hardware_concurrency());
    if (line.Has("--jobs")) n = static_cast<unsigned>(ParseInteger("--jobs", line.values.at("--jobs"), 1, 256));
    return static_cast<unsigned>(std::min<std::size_t>(n, inputs));
}

}  // namespace

bool IsBatch(const CommandLine& line) {
    return line.inputs.size() > 1 || line.Has("--kmz") || line.Has("--jobs") ||
           (line.Has("-o") && NamesFolder(line.values.at("-o"))) ||
           std::any_of(line.inputs.begin(), line.inputs.end(), [](const std::string& i) { return fs::is_directory(i); });
}

int RunBatch(const CommandLine& line) {
    const std::vector<Job> jobs = Jobs(line);
    const unsigned workers = JobCount(line, jobs.size());
    if (line.Has("-o")) fs::create_directories(line.values.at("-o"));

    // Each conversion has its own engine, working folder and PROJ context; only the
    // console is shared.
    std::atomic<std::size_t> next{0};
    std::atomic<int> failed{0};
    std::atomic<int> misused{0};  // failed on the options rather than the input
    auto work = [&] {
        for (std::size_t i; (i = next++) < jobs.size();) {
            const Job& job = jobs[i];
            try {
                ConvertShapefile(line, job.input, job.output, job.name + ": ", workers == 1);
            } catch (const std::invalid_argument& e) {
                ConsoleMessages(false, job.name + ": ").Error(e.what());
                ++failed;
                ++misused;
            } catch (const std::exception& e) {
                ConsoleMessages(false, job.name + ": ").Error(e.what());
                ++failed;
            }
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < workers; ++t) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();

    const int written = static_cast<int>(jobs.size()) - failed;
    const std::string summary = std::to_string(written) + (written == 1 ? " document" : " documents") + " written, " +
                                std::to_string(failed.load()) + " failed";
    if (failed > 0) ConsoleMessages(false).Error(summary);
    else ConsoleMessages(line.Has("-q")).Progress(summary);
    // Options that no input can take are a usage error, as with one input.
    if (misused == static_cast<int>(jobs.size())) return 2;
    return failed > 0 ? 1 : 0;
}

}  // namespace tessaly::cli
