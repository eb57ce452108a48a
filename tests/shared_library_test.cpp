// PROJ is opened only by the runs that need it.

#include "input/shared_library.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::Quote;

TEST(SharedLibrary, OpensOnlyWhatTheRunNeeds) {
    test::TempDir dir;
    const fs::path states = dir.CopyShared("us-atlas/states");
    const fs::path albers = dir.CopyShared("projected/states_conus_albers");
    struct Case {
        fs::path input;
        std::string output;
        bool proj;
    };
    const Case cases[] = {
        {states, "states.kml", false},
        {states, "states.kmz", false},
        {albers, "albers.kml", true},
    };
    for (const Case& c : cases) {
        // The loader reports each library it opens on standard error.
        const auto r = test::RunCommand("LD_DEBUG=files '" TESSALY_CONVERT "' " + Quote(c.input) + " -q -o " +
                                        Quote(dir / c.output) + " 2>&1");
        ASSERT_EQ(r.status, 0) << c.output << "\n" << r.output;
        EXPECT_EQ(r.output.find("file=libproj.so") != std::string::npos, c.proj) << c.output;
        EXPECT_GT(fs::file_size(dir / c.output), 1000u) << c.output;
    }
}

TEST(SharedLibrary, ErrorsNameTheLibraryAndTheFunction) {
    try {
        const SharedLibrary missing("libtessaly-missing.so.7");
        ADD_FAILURE() << "a missing library opened";
    } catch (const SharedLibraryError& e) {
        EXPECT_NE(std::string(e.what()).find("libtessaly-missing.so.7 cannot be opened: "), std::string::npos) << e.what();
    }
    const SharedLibrary c("libc.so.6");
    int (*function)() = nullptr;
    EXPECT_THROW(c.Take(function, "tessaly_no_such_function"), SharedLibraryError);
    c.Take(function, "getpid");
    ASSERT_NE(function, nullptr);
    EXPECT_GT(function(), 0);
}

}  // namespace
}  // namespace tessaly
