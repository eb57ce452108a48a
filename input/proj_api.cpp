#include "input/proj_api.h"

#include "input/shared_library.h"

#include <atomic>

namespace tessaly {

namespace {

std::atomic<bool> opened{false};

ProjApi Open() {
    static const SharedLibrary library(TESSALY_PROJ_SONAME);
    ProjApi api;
#define TESSALY_PROJ_TAKE(name) library.Take(api.name, #name);
    TESSALY_PROJ_FUNCTIONS(TESSALY_PROJ_TAKE)
#undef TESSALY_PROJ_TAKE
    opened = true;
    return api;
}

}  // namespace

const ProjApi& Proj() {
    static const ProjApi api = Open();
    return api;
}

bool ProjOpened() { return opened; }

}  // namespace tessaly
