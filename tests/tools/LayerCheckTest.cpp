// The include check of the test command: the whole tree passes, and a file that reaches up a layer fails with
// its name, line and include.
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <sys/wait.h>
#include <cstdio>
#include <string>

namespace {

struct CheckResult {
    int status = -1;
    std::string output;
};

CheckResult RunCheck(const std::string& folder)
{
    const std::string command = "bash '" TESSEL_SOURCE_DIR "/scripts/check-layers.sh' '" + folder + "' 2>&1";
    CheckResult result;
    FILE* const pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe) != nullptr) {
        result.output += buffer.data();
    }
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST(LayerCheck, TheSourceTreeKeepsItsLayers)
{
    const CheckResult result = RunCheck(TESSEL_SOURCE_DIR);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, "");
}

struct PlantedInclude {
    const char* file;
    const char* include;
    bool allowed;
};

class PlantedIncludeTest : public ::testing::TestWithParam<PlantedInclude> {};

TEST_P(PlantedIncludeTest, IsJudgedByTheLayerOfTheFile)
{
    const PlantedInclude& row = GetParam();
    const test::TempDir tree;
    tree.Write(row.file, std::string("// planted\n#include ") + row.include + "\n");
    const CheckResult result = RunCheck(tree.Path());
    if (row.allowed) {
        EXPECT_EQ(result.status, 0) << result.output;
        return;
    }
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find(std::string(row.file) + ":2:"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find(std::string(row.include).substr(1, std::string(row.include).size() - 2)),
              std::string::npos)
        << result.output;
}

INSTANTIATE_TEST_SUITE_P(Rows, PlantedIncludeTest,
                         ::testing::Values(PlantedInclude{"engine/scene/A.cpp", "\"gui/GUI_Manager.h\"", false},
                                           PlantedInclude{"engine/core/A.h", "\"engine/raster/Raster.h\"", false},
                                           PlantedInclude{"engine/sound/A.cpp", "\"engine/core/TextHelpers.h\"", true},
                                           PlantedInclude{"gui/A.cpp", "\"cards/Card.h\"", false},
                                           PlantedInclude{"cards/A.cpp", "\"lessons/CardLists.h\"", false},
                                           PlantedInclude{"rules/A.cpp", "\"screens/IntroBehaviour.h\"", false},
                                           PlantedInclude{"cards/A.cpp", "\"rules/SpellStack.h\"", true},
                                           PlantedInclude{"rules/A.cpp", "\"gamestate/TurnFlags.h\"", true},
                                           PlantedInclude{"gamestate/A.cpp", "\"cards/CardActor.h\"", false},
                                           PlantedInclude{"screens/A.cpp", "\"lessons/LessonBox.h\"", true},
                                           PlantedInclude{"rules/A.cpp", "\"app/MainLoop.h\"", false},
                                           PlantedInclude{"platform/A.cpp", "\"engine/core/TextHelpers.h\"", false},
                                           PlantedInclude{"launcher/A.cpp", "\"engine/scene/Actor.h\"", false},
                                           PlantedInclude{"launcher/A.cpp", "\"engine/core/BitmapFile.h\"", true},
                                           PlantedInclude{"app/A.cpp", "\"screens/Intro.h\"", true},
                                           PlantedInclude{"lessons/A.cpp", "<SDL2/SDL.h>", false},
                                           PlantedInclude{"platform/A.cpp", "<SDL2/SDL.h>", true}));

} // namespace
