#pragma once
// PROJ objects owned by RAII handles, in a context that works offline and keeps
// PROJ's own error messages instead of printing them.

#include <proj.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace tessaly {

// A coordinate system that cannot be read or used; the message names where it came from.
class CoordinateSystemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ProjObjectDeleter {
    void operator()(PJ* p) const { proj_destroy(p); }
};
using ProjObject = std::unique_ptr<PJ, ProjObjectDeleter>;

// Lets go of what PROJ keeps from one context to the next (its open database and
// that database's cache). Only while no context or object is alive; a later
// context opens the database again.
void ReleaseProjCaches();

class ProjContext {
public:
    // Throws CoordinateSystemError, naming `source` (the file or text the system
    // comes from), when PROJ cannot start or its database cannot be found.
    explicit ProjContext(const std::string& source);
    ~ProjContext();
    ProjContext(const ProjContext&) = delete;
    ProjContext& operator=(const ProjContext&) = delete;

    PJ_CONTEXT* Get() const { return context_; }
    // The last error PROJ reported, or its error code's text.
    std::string LastError() const;
    void ClearError() { lastError_.clear(); }

private:
    static void Log(void* self, int level, const char* message);

    PJ_CONTEXT* context_;
    std::string lastError_;
};

}  // namespace tessaly

namespace tessaly {

// PROJ's reading of a definition (WKT, PROJ string, "EPSG:2277"). Throws
// CoordinateSystemError naming `source` and PROJ's reason.
ProjObject CreateCrs(ProjContext& context, const std::string& definition, const std::string& source);

// The horizontal part of a compound system; `withoutBound` also unwraps a system
// bound to WGS 84 by TOWGS84 parameters.
ProjObject HorizontalCrs(ProjContext& context, PJ* crs, bool withoutBound);

}  // namespace tessaly
