#pragma once
// A text file that appears under its name only when it is complete: written to a
// temporary file beside the target and renamed over it by Commit. An output that
// is destroyed without Commit is removed, and an earlier file of that name stays.
// A target ending in ".kmz" receives a KMZ archive holding the text as "doc.kml",
// deflated as it is written, and the files added for it.
// A text longer than one piece is written by a thread of its own, so that making
// the document and writing it go on at once.

#include "engine/kmz_output.h"

#include <condition_variable>
#include <memory>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

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

    // The path the document takes when it is committed.
    const std::string& Target() const { return target_; }
    void Write(std::string_view text);
    // In a KMZ archive, ends the document written so far and starts another.
    void StartArchiveDocument(const std::string& name);
    // A file stored after the document in a KMZ archive, once for each name; bytes
    // must outlive Commit.
    void AddArchiveFile(std::string name, std::string_view bytes);
    void Commit();

private:
    static constexpr std::size_t kFlushSize = 1 << 19;
    // Hands the buffer to the writing thread (started on the first piece), once it has
    // written the one before; with a name, the thread then starts that archive document.
    void Flush(std::string nextDocument = {});
    // Waits until everything handed over is written, and stops the writing thread.
    void FinishWriting();
    // Lets the writing thread write what it holds, and ends it.
    void StopWriter();
    void WriteHandedOver();
    // Writes text to the file, or deflates it into the archive.
    bool WriteOut(std::string_view text);
    [[noreturn]] void Fail(const std::string& what);

    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
    std::unique_ptr<KmzOutput> kmz_;
    std::vector<ArchiveFile> archiveFiles_;

    std::thread writer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string handedOver_;  // being written while buffer_ fills
    std::string nextDocument_;  // the archive document that follows it, if any
    bool writing_ = false;
    bool stop_ = false;
    int writeError_ = 0;  // errno of the first failed write
};

}  // namespace tessaly
