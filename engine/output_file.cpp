#include "engine/output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessaly {

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {
    std::vector<char> name(target_.begin(), target_.end());
    const std::string suffix = ".part-XXXXXX";
    name.insert(name.end(), suffix.begin(), suffix.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) Fail("cannot create the output file");
    temporary_ = name.data();
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
        const int why = errno;
        ::close(fd);
        std::remove(name.data());
        errno = why;
        Fail("cannot create the output file");
    }
    // mkstemp makes the file private; give it the permissions a new file would get.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
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
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("cannot replace the output file");
    temporary_.clear();
}

}  // namespace tessaly
