// Every test program starts with a fake system seam in force: a real message box, a started
// program or the end of the process would otherwise hold or break a headless run.
#include "fake_system.h"

#include <gtest/gtest.h>

namespace {

class GuardedSystem : public ::testing::Environment {
  public:
    void SetUp() override { guard_ = new tv::test::FakeSystem; }
    void TearDown() override {
        delete guard_;
        guard_ = nullptr;
    }

  private:
    tv::test::FakeSystem* guard_ = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GuardedSystem);
    return RUN_ALL_TESTS();
}
