#include "input/shared_library.h"

#include <dlfcn.h>

namespace tessaly {

SharedLibrary::SharedLibrary(std::string soname) : soname_(std::move(soname)) {
    handle_ = dlopen(soname_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* why = dlerror();
        throw SharedLibraryError(soname_ + " cannot be opened: " + (why != nullptr ? why : "no reason given"));
    }
}

void* SharedLibrary::Address(const char* name) const {
    dlerror();
    void* address = dlsym(handle_, name);
    if (address == nullptr) throw SharedLibraryError(soname_ + " has no function " + name);
    return address;
}

}  // namespace tessaly
