#include "input/proj_context.h"

namespace tessaly {

ProjContext::ProjContext(const std::string& source) : context_(proj_context_create()) {
    if (context_ == nullptr) throw CoordinateSystemError(source + ": PROJ could not be started");
    proj_log_func(context_, this, &ProjContext::Log);
    proj_log_level(context_, PJ_LOG_ERROR);
    // Conversions must not depend on a network or on grids fetched behind the user's back.
    proj_context_set_enable_network(context_, 0);
    const char* database = proj_context_get_database_path(context_);
    if (database == nullptr || *database == '\0') {
        proj_context_destroy(context_);
        throw CoordinateSystemError(source + ": PROJ's database proj.db was not found (it comes with the package proj-data)");
    }
}

ProjContext::~ProjContext() { proj_context_destroy(context_); }

void ReleaseProjCaches() { proj_cleanup(); }

void ProjContext::Log(void* self, int level, const char* message) {
    if (level > PJ_LOG_ERROR || message == nullptr) return;
    std::string& last = static_cast<ProjContext*>(self)->lastError_;
    last = message;
    // PROJ prefixes messages with the function that failed; the user needs only the reason.
    if (const auto colon = last.find(": "); colon != std::string::npos && last.compare(0, 5, "proj_") == 0)
        last.erase(0, colon + 2);
}

std::string ProjContext::LastError() const {
    if (!lastError_.empty()) return lastError_;
    const int code = proj_context_errno(context_);
    return code != 0 ? proj_context_errno_string(context_, code) : "PROJ gave no reason";
}

}  // namespace tessaly

namespace tessaly {

ProjObject CreateCrs(ProjContext& context, const std::string& definition, const std::string& source) {
    context.ClearError();
    // A PROJ string names a coordinate system only with +type=crs; users leave it out.
    const bool projString = definition.rfind("+proj=", 0) == 0 && definition.find("+type=crs") == std::string::npos;
    ProjObject crs(proj_create(context.Get(), (projString ? definition + " +type=crs" : definition).c_str()));
    if (!crs) throw CoordinateSystemError(source + ": not a coordinate system PROJ can read: " + context.LastError());
    if (!proj_is_crs(crs.get()))
        throw CoordinateSystemError(source + ": not a coordinate system but \"" + proj_get_name(crs.get()) + "\"");
    return crs;
}

ProjObject HorizontalCrs(ProjContext& context, PJ* crs, bool withoutBound) {
    ProjObject part(proj_clone(context.Get(), crs));
    for (;;) {
        const PJ_TYPE type = proj_get_type(part.get());
        if (type == PJ_TYPE_COMPOUND_CRS)
            part.reset(proj_crs_get_sub_crs(context.Get(), part.get(), 0));
        else if (type == PJ_TYPE_BOUND_CRS && withoutBound)
            part.reset(proj_get_source_crs(context.Get(), part.get()));
        else
            return part;
        if (!part) throw CoordinateSystemError("PROJ cannot take the system apart: " + context.LastError());
    }
}

}  // namespace tessaly
