// A message window asked for every frame inside the real loop, answered by a scripted click.
#include "tests/app/AppFixture.h"

#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"

#include <vector>

namespace {

class MessageWindowLoopTest : public test::AppFixture {};

using test::TickOnce;

int AskForOk()
{
    return GetGameDisplay()->AddMessageWindow(4, 0, u"Ready?", 200, 120, nullptr, true, 40, 40, 1, u"psok", u"psokmo",
                                              nullptr, 0, 0, 0);
}

TEST_F(MessageWindowLoopTest, TheOkButtonOfAMessageWindowAnswersThroughTheLoop)
{
    RunInside([] {
        s_RequestedGameMode = 1;
        s_GameMode = -1;
        TickOnce();
        ASSERT_EQ(s_GameMode, 1);
        static const std::vector<std::uint16_t> pixels(40 * 20, 0x07E0);
        AddTextureName(u"psok", GetGameDisplay()->CreateTextureFromPixels(pixels.data(), 40, 20, 1));
        AddTextureName(u"psokmo", GetGameDisplay()->CreateTextureFromPixels(pixels.data(), 40, 20, 1));

        AskForOk();
        TickOnce();
        const OldDialog* const dialog = GetGameDisplay()->GetMessageDialog(4);
        ASSERT_NE(dialog->GetButtonA(), nullptr);
        const int x = dialog->GetButtonA()->GetLeft() + 5;
        const int y = dialog->GetButtonA()->GetTop() + 5;
        EXPECT_EQ(GetGameDisplay()->m_LastReplyId, -1);

        plat::Event move;
        move.type = plat::EventType::MouseMove;
        move.x = x;
        move.y = y;
        plat::headless::QueueEvent(move);
        AskForOk();
        TickOnce();

        plat::Event press = move;
        press.type = plat::EventType::ButtonDown;
        press.button = plat::BUTTON_LEFT;
        plat::headless::QueueEvent(press);
        const int id = AskForOk();
        TickOnce();
        EXPECT_EQ(GetGameDisplay()->m_LastReplyId, id);
        EXPECT_EQ(GetGameDisplay()->m_LastReplyAnswer, OLD_BUTTON_PART_LEFT);

        plat::Event release = press;
        release.type = plat::EventType::ButtonUp;
        plat::headless::QueueEvent(release);
        AskForOk();
        TickOnce();
        EXPECT_EQ(GetGameDisplay()->m_LastReplyId, -1) << "a reply lasts the frame of its click";
    });
}

} // namespace
