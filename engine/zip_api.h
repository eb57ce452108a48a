#pragma once
// libzip's functions, taken from the library when a KMZ is first written.

#include <zip.h>

// Every libzip function this program calls.
#define TESSALY_ZIP_FUNCTIONS(X)                                                                 \
    X(zip_close) X(zip_discard) X(zip_error_fini) X(zip_error_init_with_code) X(zip_error_strerror) \
    X(zip_file_add) X(zip_get_error) X(zip_open) X(zip_set_file_compression) X(zip_source_file)     \
    X(zip_source_free)

namespace tessaly {

struct ZipApi {
#define TESSALY_ZIP_POINTER(name) decltype(&::name) name = nullptr;
    TESSALY_ZIP_FUNCTIONS(TESSALY_ZIP_POINTER)
#undef TESSALY_ZIP_POINTER
};

// Opens libzip on the first call; throws SharedLibraryError when it cannot.
const ZipApi& Zip();

}  // namespace tessaly
