#include "engine/output_file.h"

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
    if (IsKmzPath(target_)) {
        kmz_ = std::make_unique<KmzOutput>(file_);
        if (!kmz_->Started()) Fail("cannot write the output file");
    }
    buffer_.reserve(kFlushSize + (1 << 16));
}

OutputFile::~OutputFile() {
    StopWriter();
    if (file_ != nullptr) std::fclose(file_);
    if (!temporary_.empty()) std::remove(temporary_.c_str());
}

void OutputFile::WriteHandedOver() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return writing_ || stop_; });
        if (!writing_) return;
        lock.unlock();
        const bool written = WriteOut(handedOver_) && (nextDocument_.empty() || kmz_->NextDocument(nextDocument_));
        const int why = errno;
        lock.lock();
        if (!written && writeError_ == 0) writeError_ = why;
        handedOver_.clear();
        nextDocument_.clear();
        writing_ = false;
        changed_.notify_all();
    }
}

bool OutputFile::WriteOut(std::string_view text) {
    if (kmz_) return kmz_->Write(text);
    return std::fwrite(text.data(), 1, text.size(), file_) == text.size();
}

void OutputFile::AddArchiveFile(std::string name, std::string_view bytes) {
    for (const ArchiveFile& f : archiveFiles_)
        if (f.name == name) return;
    archiveFiles_.push_back({std::move(name), bytes});
}

void OutputFile::StartArchiveDocument(const std::string& name) { Flush(name); }

void OutputFile::Fail(const std::string& what) {
    throw OutputError(target_ + ": " + what + ": " + std::strerror(errno));
}

void OutputFile::Write(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= kFlushSize) Flush();
}

void OutputFile::Flush(std::string nextDocument) {
    // A document that fits one piece never needs the thread.
    if (!writer_.joinable()) writer_ = std::thread([this] { WriteHandedOver(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !writing_; });
    if (writeError_ != 0) {
        errno = writeError_;
        Fail("cannot write the output file");
    }
    if (buffer_.empty() && nextDocument.empty()) return;
    std::swap(buffer_, handedOver_);
    nextDocument_ = std::move(nextDocument);
    writing_ = true;
    lock.unlock();
    changed_.notify_all();
}

void OutputFile::FinishWriting() {
    if (!writer_.joinable()) {
        if (!WriteOut(buffer_)) Fail("cannot write the output file");
        buffer_.clear();
        return;
    }
    Flush();
    StopWriter();
    if (writeError_ != 0) {
        errno = writeError_;
        Fail("cannot write the output file");
    }
}

void OutputFile::StopWriter() {
    if (!writer_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    writer_.join();
}

void OutputFile::Commit() {
    FinishWriting();
    if (kmz_ && !kmz_->Finish(archiveFiles_)) Fail("cannot write the output file");
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) Fail("cannot write the output file");
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) Fail("cannot replace the output file");
    temporary_.clear();
}

}  // namespace tessaly
