// Every test program starts with a fake system seam in force: a real message box, a started
// program or the end of the process would otherwise hold or break a headless run.
#include "fake_system.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const tv::test::FakeSystem guard;
    return RUN_ALL_TESTS();
}
