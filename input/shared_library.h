#pragma once
// A shared library opened when it is first needed. PROJ is used by few
// runs, and opening it with everything it pulls in takes longer than converting
// a small shapefile.

#include <stdexcept>
#include <string>

namespace tessaly {

class SharedLibraryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SharedLibrary {
public:
    // Opens the library by its soname ("libproj.so.25"); throws SharedLibraryError
    // naming it and the loader's reason. It stays open until the process ends, so
    // that what it registered for the end of the process can still run.
    explicit SharedLibrary(std::string soname);
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Sets `function` to the library's function of that name; throws
    // SharedLibraryError when the library has none.
    template <class Function>
    void Take(Function& function, const char* name) const {
        function = reinterpret_cast<Function>(Address(name));
    }

private:
    void* Address(const char* name) const;

    std::string soname_;
    void* handle_;
};

}  // namespace tessaly
