#pragma once
// A run's own folder for its working files, "tessaly-XXXXXX" in the temporary
// folder. Each holds a lock file that its program keeps locked (flock) while it
// runs, so a folder whose lock can be taken was left by a program that was killed.

#include <filesystem>
#include <string>
#include <vector>

namespace tessaly {

class WorkingFolder {
public:
    // Makes and locks the folder; Error() says why when it could not.
    explicit WorkingFolder(const std::filesystem::path& parent = std::filesystem::temp_directory_path());
    ~WorkingFolder();  // removes the folder and all in it
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

    bool IsValid() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    const std::string& Error() const { return error_; }

private:
    std::string path_;
    std::string error_;
    int lockFd_ = -1;
};

// The working folders in parent that no running program holds. A folder without
// a lock file is left alone: its program may not have locked it yet.
std::vector<std::filesystem::path> StaleWorkingFolders(const std::filesystem::path& parent);

// Removes what StaleWorkingFolders finds; a folder that cannot be removed is let go.
void RemoveStaleWorkingFolders(const std::filesystem::path& parent = std::filesystem::temp_directory_path());

}  // namespace tessaly
