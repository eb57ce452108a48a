#include "input/table_file_io.h"

#include "input/positioned_io.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessaly {

namespace {

constexpr std::size_t kWriteGather = 1 << 20;

struct TableFile {
    int fd = -1;
    SAOffset position = 0;
    std::vector<char> pending;  // bytes to write at pendingStart
    SAOffset pendingStart = 0;
    std::vector<char> cache;    // bytes read from cacheStart
    SAOffset cacheStart = 0;
    std::size_t readAhead = 0;
};

// The read-ahead of the files opened next; each file keeps the value it opened with.
thread_local std::size_t currentReadAhead = 0;

bool Flush(TableFile& f) {
    if (!WriteAt(f.fd, f.pending.data(), f.pending.size(), f.pendingStart)) return false;
    f.pending.clear();
    return true;
}

TableFile* File(SAFile handle) { return reinterpret_cast<TableFile*>(handle); }

SAFile Open(const char* name, const char* access) {
    const bool update = std::strchr(access, '+') != nullptr;
    const bool create = access[0] == 'w';
    const int flags = O_CLOEXEC | (create ? O_RDWR | O_CREAT | O_TRUNC : update ? O_RDWR : O_RDONLY);
    const int fd = ::open(name, flags, 0666);
    if (fd < 0) return nullptr;
    auto* f = new TableFile;
    f->fd = fd;
    f->readAhead = currentReadAhead;
    return reinterpret_cast<SAFile>(f);
}

SAOffset Read(void* p, SAOffset size, SAOffset count, SAFile handle) {
    TableFile& f = *File(handle);
    const SAOffset bytes = size * count;
    if (bytes == 0) return 0;
    if (!f.pending.empty() && !Flush(f)) return 0;
    if (f.position < f.cacheStart || f.position + bytes > f.cacheStart + f.cache.size()) {
        f.cache.resize(static_cast<std::size_t>(bytes) + f.readAhead);
        f.cache.resize(static_cast<std::size_t>(std::max<std::int64_t>(ReadAt(f.fd, f.cache.data(), f.cache.size(), f.position), 0)));
        f.cacheStart = f.position;
    }
    // As fread: what there is is copied, and the whole items among it are counted.
    const SAOffset copied = std::min(bytes, f.cacheStart + f.cache.size() - f.position);
    std::memcpy(p, f.cache.data() + (f.position - f.cacheStart), copied);
    f.position += copied;
    return copied / size;
}

SAOffset Write(void* p, SAOffset size, SAOffset count, SAFile handle) {
    TableFile& f = *File(handle);
    const SAOffset bytes = size * count;
    // Nothing to write (shapelib writes the field list of a table without fields
    // from a null pointer): as fwrite, no item is written.
    if (bytes == 0) return 0;
    f.cache.clear();
    // A write that starts inside or right after the gathered bytes joins them (shapelib
    // writes each record, then the end-of-file mark that the next record overwrites).
    const bool joins = !f.pending.empty() && f.position >= f.pendingStart &&
                       f.position <= f.pendingStart + f.pending.size();
    if (!f.pending.empty() && !joins && !Flush(f)) return 0;
    if (f.pending.empty()) f.pendingStart = f.position;
    const std::size_t at = static_cast<std::size_t>(f.position - f.pendingStart);
    if (f.pending.size() < at + bytes) f.pending.resize(at + bytes);
    std::memcpy(f.pending.data() + at, p, bytes);
    f.position += bytes;
    if (f.pending.size() >= kWriteGather && !Flush(f)) return 0;
    return count;
}

SAOffset Seek(SAFile handle, SAOffset offset, int whence) {
    TableFile& f = *File(handle);
    if (whence == SEEK_SET) {
        f.position = offset;
    } else if (whence == SEEK_CUR) {
        f.position += offset;
    } else {
        if (!Flush(f)) return static_cast<SAOffset>(-1);
        struct stat st {};
        if (fstat(f.fd, &st) != 0) return static_cast<SAOffset>(-1);
        f.position = static_cast<SAOffset>(st.st_size) + offset;
    }
    return 0;
}

SAOffset Tell(SAFile handle) { return File(handle)->position; }

int FlushFile(SAFile handle) { return Flush(*File(handle)) ? 0 : -1; }

int Close(SAFile handle) {
    TableFile* f = File(handle);
    const bool flushed = Flush(*f);
    const int closed = ::close(f->fd);
    delete f;
    return flushed && closed == 0 ? 0 : -1;
}

}  // namespace

SAHooks TableFileHooks(std::size_t readAhead, void (*error)(const char*)) {
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    currentReadAhead = readAhead;
    hooks.FOpen = Open;
    hooks.FRead = Read;
    hooks.FWrite = Write;
    hooks.FSeek = Seek;
    hooks.FTell = Tell;
    hooks.FFlush = FlushFile;
    hooks.FClose = Close;
    if (error) hooks.Error = error;
    return hooks;
}

}  // namespace tessaly
