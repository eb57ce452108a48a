#include "engine/kmz_output.h"

#include "input/letter_case.h"

#include <isa-l/igzip_lib.h>

#include <algorithm>
#include <cerrno>
#include <limits>

namespace tessaly {

namespace {

// ISA-L's level 3 compresses text a little tighter than zlib's level 6, several
// times faster.
constexpr std::uint32_t kLevel = 3;
constexpr std::uint32_t kLevelBufferSize = ISAL_DEF_LVL3_DEFAULT;
constexpr std::size_t kOutSize = 1 << 18;

}  // namespace

bool IsKmzPath(const std::string& path) {
    return path.size() >= 4 && EqualIgnoringCase(std::string_view(path).substr(path.size() - 4), ".kmz");
}

KmzOutput::KmzOutput(std::FILE* file)
    : zip_(file), stream_(std::make_unique<isal_zstream>()), levelBuffer_(kLevelBufferSize), out_(kOutSize) {
    isal_deflate_init(stream_.get());
    stream_->level = kLevel;
    stream_->level_buf = levelBuffer_.data();
    stream_->level_buf_size = kLevelBufferSize;
    started_ = zip_.BeginDeflated(std::string(kKmzDocument));
}

KmzOutput::~KmzOutput() = default;

bool KmzOutput::Deflate(std::string_view text, bool last) {
    crc_ = ZipCrc(crc_, text.data(), text.size());
    size_ += text.size();
    // avail_in is 32 bits: a longer text goes in pieces.
    constexpr std::size_t kPiece = std::numeric_limits<std::uint32_t>::max() / 2;
    do {
        const std::size_t piece = std::min(text.size(), kPiece);
        stream_->next_in = reinterpret_cast<std::uint8_t*>(const_cast<char*>(text.data()));
        stream_->avail_in = static_cast<std::uint32_t>(piece);
        text.remove_prefix(piece);
        stream_->end_of_stream = last && text.empty();
        do {
            stream_->next_out = out_.data();
            stream_->avail_out = static_cast<std::uint32_t>(out_.size());
            if (isal_deflate(stream_.get()) != COMP_OK) {
                errno = EIO;
                return false;
            }
            if (!zip_.WriteData(out_.data(), out_.size() - stream_->avail_out)) return false;
        } while (stream_->avail_in != 0 || stream_->avail_out == 0 ||
                 (stream_->end_of_stream && stream_->internal_state.state != ZSTATE_END));
    } while (!text.empty());
    return true;
}

bool KmzOutput::Write(std::string_view text) { return text.empty() || Deflate(text, false); }

bool KmzOutput::EndDocument() { return Deflate({}, true) && zip_.EndDeflated(crc_, size_); }

bool KmzOutput::NextDocument(const std::string& name) {
    if (!EndDocument()) return false;
    isal_deflate_reset(stream_.get());
    crc_ = 0;
    size_ = 0;
    return zip_.BeginDeflated(name);
}

bool KmzOutput::Finish(const std::vector<ArchiveFile>& files) {
    if (!EndDocument()) return false;
    for (const ArchiveFile& f : files)
        if (!zip_.AddStored(f.name, f.bytes)) return false;
    return zip_.Finish();
}

}  // namespace tessaly
