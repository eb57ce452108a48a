#include "engine/zip_api.h"

#include "input/shared_library.h"

namespace tessaly {

namespace {

ZipApi Open() {
    static const SharedLibrary library(TESSALY_ZIP_SONAME);
    ZipApi api;
#define TESSALY_ZIP_TAKE(name) library.Take(api.name, #name);
    TESSALY_ZIP_FUNCTIONS(TESSALY_ZIP_TAKE)
#undef TESSALY_ZIP_TAKE
    return api;
}

}  // namespace

const ZipApi& Zip() {
    static const ZipApi api = Open();
    return api;
}

}  // namespace tessaly
