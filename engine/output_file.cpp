#include "engine/output_file.h"

#include "engine/kmz_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessaly {

namespace {

// A new empty file beside the target, with the permissions a new file would get
// (mkstemp makes it private); its descriptor, or -1.
int CreateBeside(const std::string& target, std::string& name) {
    std::vector<char> pattern(target.begin(), target.end());
    const std::string suffix = ".part-XXXXXX";
    pattern.insert(pattern.end(), suffix.begin(), suffix.end());
    pattern.push_back('\0');
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return -1;
    name = pattern.data();
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    return fd;
}

}  // namespace

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
    const int fd = CreateBeside(target_, temporary_);
    if (fd < 0) Fail("cannot create the output file");
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int why = errno;
        ::close(fd);
        std::remove(temporary_.c_str());
        temporary_.clear();
        errno = why;
        Fail("cannot create the output file");
    }
    buffer_.reserve(kFlushSize * 2);
}

OutputFile::~OutputFile() {
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty()) std::remove(temporary_.c_str());
}

void OutputFile::Fail(const std::string& what) {
    throw OutputError(target_ + ": " + what + ": " + std::strerror(errno));
}

void OutputFile::Write(std::string_view text) {
    // A large text goes straight to the file rather than through another copy.
    if (text.size() >= kFlushSize) {
        Flush();
        if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail("cannot write the output file");
        return;
    }
    buffer_.append(text);
    if (buffer_.size() >= kFlushSize) Flush();
}

void OutputFile::Flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        Fail("cannot write the output file");
    buffer_.clear();
}

void OutputFile::Commit() {
    Flush();
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) Fail("cannot write the output file");
    if (IsKmzPath(target_)) {
        PackIntoArchive();
        return;
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("cannot replace the output file");
    temporary_.clear();
}

void OutputFile::PackIntoArchive() {
    std::string archive;
    const int fd = CreateBeside(target_, archive);
    if (fd < 0) Fail("cannot create the output file");
    ::close(fd);
    try {
        PackKmz(temporary_, archive, target_);
    } catch (...) {
        std::remove(archive.c_str());
        throw;
    }
    if (std::rename(archive.c_str(), target_.c_str()) != 0) {
        const int why = errno;
        std::remove(archive.c_str());
        errno = why;
        Fail("cannot replace the output file");
    }
    // The packed document is not needed any more; the destructor removes it.
}

}  // namespace tessaly
