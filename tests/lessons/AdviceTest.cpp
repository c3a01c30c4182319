#include "lessons/Advice.h"
#include "tests/lessons/LessonFixture.h"

namespace {

using lessontest::LessonTest;

TEST_F(LessonTest, LibraryGlowsWhenAskedUnlessAdviceBlocks)
{
    struct Case {
        bool asked, blocked, wanted;
    };
    const Case cases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
    for (const Case& c : cases) {
        GetGameDisplay()->m_LibraryHighlight = c.asked;
        SetAdviceBlocked(c.blocked);
        EXPECT_EQ(IsLibraryHighlightWanted(), c.wanted) << c.asked << c.blocked;
    }
    SetAdviceBlocked(false);
    GetGameDisplay()->m_LibraryHighlight = false;
}

} // namespace
