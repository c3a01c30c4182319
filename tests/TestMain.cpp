#include "app/GameWiring.h"
#include "platform/Headless.h"
#include "platform/Platform.h"

#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// An assertion in the program fails the running test instead of aborting the whole run.
void FailTest(const char* file, int line, const char* expr)
{
    ADD_FAILURE_AT(file, line) << "Assertion failed: " << expr;
}

// Every test starts on a fresh headless backend.
class HeadlessEnvironment : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { plat::headless::Reset(); }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    plat::Init(plat::BackendKind::Headless);
    // The run never touches the user's own settings.
    const test::TempDir config;
    plat::SetConfigFolder(config.Path());
    plat::SetAssertHandler(&FailTest);
    BindGameToEngine();
    ::testing::UnitTest::GetInstance()->listeners().Append(new HeadlessEnvironment);
    return RUN_ALL_TESTS();
}
