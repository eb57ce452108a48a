#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
    // Run under the user's locale, and a comma-decimal one where the machine has it,
    // so that no number text can depend on the C locale by accident.
    std::setlocale(LC_ALL, "");
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE.utf8"})
        if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
