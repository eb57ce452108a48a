#pragma once
// A text file that appears under its name only when it is complete: written to a
// temporary file beside the target and renamed over it by Commit. An output that
// is destroyed without Commit is removed, and an earlier file of that name stays.
// A target ending in ".kmz" receives a KMZ archive holding the text as "doc.kml".

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaly {

class OutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class OutputFile {
public:
    // Throws OutputError naming the target when the temporary file cannot be made.
    explicit OutputFile(std::string target);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(std::string_view text);
    void Commit();
    const std::string& Target() const { return target_; }

private:
    static constexpr std::size_t kFlushSize = 1 << 16;
    void Flush();
    // Packs the finished temporary file into an archive renamed over the target.
    void PackIntoArchive();
    [[noreturn]] void Fail(const std::string& what);

    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
};

}  // namespace tessaly
