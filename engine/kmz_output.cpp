#include "engine/kmz_output.h"

#include "engine/output_file.h"
#include "input/letter_case.h"

#include <zip.h>

namespace tessaly {

namespace {

[[noreturn]] void Fail(const std::string& reportAs, const std::string& why) {
    throw OutputError(reportAs + ": cannot write the KMZ archive: " + why);
}

}  // namespace

bool IsKmzPath(const std::string& path) {
    return path.size() >= 4 && EqualIgnoringCase(std::string_view(path).substr(path.size() - 4), ".kmz");
}

void PackKmz(const std::string& kmlFile, const std::string& kmzFile, const std::string& reportAs) {
    int code = 0;
    zip_t* archive = zip_open(kmzFile.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (archive == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const std::string what = zip_error_strerror(&error);
        zip_error_fini(&error);
        Fail(reportAs, what);
    }
    // The archive is given up with the reason libzip keeps for it.
    auto discard = [&] {
        const std::string what = zip_error_strerror(zip_get_error(archive));
        zip_discard(archive);
        Fail(reportAs, what);
    };
    // The document is read from its file while the archive is written, never held whole.
    zip_source_t* source = zip_source_file(archive, kmlFile.c_str(), 0, 0);
    if (source == nullptr) discard();
    const zip_int64_t entry = zip_file_add(archive, "doc.kml", source, ZIP_FL_ENC_UTF_8);
    if (entry < 0) {
        zip_source_free(source);
        discard();
    }
    if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(entry), ZIP_CM_DEFLATE, 0) != 0 ||
        zip_close(archive) != 0)
        discard();
}

}  // namespace tessaly
