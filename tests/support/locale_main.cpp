// GoogleTest entry point that runs under the locale of the environment (LC_ALL), so the same
// tests also run where the decimal separator is a comma.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!std::setlocale(LC_ALL, "") && std::getenv("ORVO_REQUIRE_LOCALE")) {
        std::fprintf(stderr, "locale %s is not installed\n", std::getenv("LC_ALL"));
        return 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
