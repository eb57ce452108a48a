#include "engine/run_summary.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(RunSummary, NamesCountPathSizeAndTime) {
    struct Case {
        long long placemarks;
        std::uintmax_t bytes;
        double seconds;
        const char* expected;
    };
    const Case cases[] = {
        {663, 1258291, 0.43, "Wrote 663 placemarks to /d/out.kml (1.2 MB) in 0.4 s"},
        {1, 1, 0.0, "Wrote 1 placemark to /d/out.kml (1 byte) in 0.0 s"},
        {0, 1023, 12.06, "Wrote 0 placemarks to /d/out.kml (1023 bytes) in 12.1 s"},
        {2, 1024, 0.05, "Wrote 2 placemarks to /d/out.kml (1.0 KB) in 0.1 s"},
        {2, 1048575, 1, "Wrote 2 placemarks to /d/out.kml (1.0 MB) in 1.0 s"},
        {2, 3221225472, 75.25, "Wrote 2 placemarks to /d/out.kml (3.0 GB) in 75.2 s"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunSummary(c.placemarks, "/d/out.kml", c.bytes, c.seconds), c.expected) << c.bytes;
}

}  // namespace
}  // namespace tessaly
