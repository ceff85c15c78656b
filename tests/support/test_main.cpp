// Test main: finds the shared headless X server when DISPLAY is not set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::ifstream file(std::string(CORVANE_XVFB_STATE) + "/display");
        std::string number;
        if (file >> number) setenv("DISPLAY", (":" + number).c_str(), 1);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
