#include "engine/working_folder.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tessaly {

namespace {

constexpr const char* kPrefix = "tessaly-";
constexpr const char* kLockName = "tessaly.lock";

}  // namespace

WorkingFolder::WorkingFolder(const fs::path& parent) {
    std::string pattern = (parent / (std::string(kPrefix) + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error_ = "cannot create a working folder in " + parent.string() + ": " + std::strerror(errno);
        return;
    }
    // Locked under another name and renamed, so that no other program ever finds
    // the lock file unlocked while this one lives.
    const std::string unnamed = pattern + "/.lock";
    lockFd_ = open(unnamed.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0 || flock(lockFd_, LOCK_EX | LOCK_NB) != 0 ||
        rename(unnamed.c_str(), (pattern + "/" + kLockName).c_str()) != 0) {
        error_ = "cannot lock the working folder " + pattern + ": " + std::strerror(errno);
        if (lockFd_ >= 0) close(lockFd_);
        lockFd_ = -1;
        std::error_code ec;
        fs::remove_all(pattern, ec);
        return;
    }
    path_ = pattern;
}

WorkingFolder::~WorkingFolder() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
    close(lockFd_);
}

std::vector<fs::path> StaleWorkingFolders(const fs::path& parent) {
    std::vector<fs::path> stale;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(parent, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(kPrefix, 0) != 0 || !entry.is_directory(ec)) continue;
        const int fd = open((entry.path() / kLockName).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) stale.push_back(entry.path());
        close(fd);  // lets the lock go again
    }
    return stale;
}

void RemoveStaleWorkingFolders(const fs::path& parent) {
    std::error_code ec;
    for (const fs::path& folder : StaleWorkingFolders(parent)) fs::remove_all(folder, ec);
}

}  // namespace tessaly
