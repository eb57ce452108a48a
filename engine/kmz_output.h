#pragma once
// KMZ: a zip archive whose first entry, "doc.kml", is the document, deflated
// as it is written, followed by the files the document refers to.

#include "engine/zip_archive.h"

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct isal_zstream;

namespace tessaly {

// The archive's first entry, the document itself.
inline constexpr std::string_view kKmzDocument = "doc.kml";

// True when the path names a KMZ archive (it ends in ".kmz", in any letter case).
bool IsKmzPath(const std::string& path);

// A file the document refers to, stored beside it in the archive.
struct ArchiveFile {
    std::string name;
    std::string_view bytes;
};

class KmzOutput {
public:
    // Starts "doc.kml" in the open, empty file. Every function returns false
    // when a write fails, with errno set.
    explicit KmzOutput(std::FILE* file);
    ~KmzOutput();
    KmzOutput(const KmzOutput&) = delete;
    KmzOutput& operator=(const KmzOutput&) = delete;

    bool Started() const { return started_; }
    // Deflates text into the document being written.
    bool Write(std::string_view text);
    // Ends the document being written and starts another, named name.
    bool NextDocument(const std::string& name);
    // Ends the document, stores the files after it and closes the archive.
    bool Finish(const std::vector<ArchiveFile>& files);

private:
    bool Deflate(std::string_view text, bool last);
    bool EndDocument();

    ZipArchive zip_;
    std::unique_ptr<isal_zstream> stream_;
    std::vector<unsigned char> levelBuffer_;
    std::vector<unsigned char> out_;
    std::uint32_t crc_ = 0;
    std::uint64_t size_ = 0;
    bool started_ = false;
};

}  // namespace tessaly
