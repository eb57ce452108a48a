#include "input/load_check.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tessaly {
namespace {

std::vector<unsigned char> TwoPoints() {
    test::ShpBuilder shp(1);
    shp.AddPoint(1, 2);
    shp.AddPoint(3, 4);
    return shp.Bytes();
}

// The header's Xmax and Ymax, as projected data would have them.
std::vector<unsigned char> ProjectedBox() {
    auto bytes = TwoPoints();
    const double xmax = 523456.5, ymax = 4123456.25;
    std::memcpy(&bytes[52], &xmax, 8);
    std::memcpy(&bytes[60], &ymax, 8);
    return bytes;
}

std::vector<unsigned char> HeaderCut() {
    auto bytes = TwoPoints();
    bytes.resize(60);
    return bytes;
}

std::vector<unsigned char> StrayBytes() {
    auto bytes = TwoPoints();
    bytes.insert(bytes.end(), 5, 0);
    return bytes;
}

std::vector<unsigned char> LastRecordCut() {
    auto bytes = TwoPoints();
    bytes.resize(bytes.size() - 4);
    return bytes;
}

TEST(LoadWarnings, TellWhatARunWouldStopAt) {
    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
        bool geographic;
        const char* expected;  // after the path and ": "; empty for no warning
    };
    const Case cases[] = {
        {"sound", TwoPoints(), true, ""},
        {"projected", ProjectedBox(), true,
         "X 523456.5, Y 4123456.25 cannot be longitude and latitude: the data look projected (choose UTM, or give their "
         "coordinate system)"},
        {"projected as UTM", ProjectedBox(), false, ""},
        {"stray bytes", StrayBytes(), true, ""},
        {"cut", LastRecordCut(), true, "record 2 at byte 128: "},
        {"short", HeaderCut(), true, "the header is cut short"},
    };
    const test::TempDir dir;
    for (const Case& c : cases) {
        const std::string path = (dir / (std::string(c.name) + ".shp")).string();
        test::WriteBytes(path, c.bytes);
        const std::vector<std::string> warnings = LoadWarnings(path, c.geographic);
        if (*c.expected == '\0') {
            EXPECT_TRUE(warnings.empty()) << c.name << ": " << warnings.front();
            continue;
        }
        ASSERT_EQ(warnings.size(), 1u) << c.name;
        EXPECT_EQ(warnings[0].rfind(path + ": " + c.expected, 0), 0u) << c.name << ": " << warnings[0];
    }
}

}  // namespace
}  // namespace tessaly
