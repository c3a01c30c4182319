// The dialog manager: arming, the two queues, obsolete removal, exhaustion, hiding while the table is busy, and
// the voice queue stopped before the next dialog.
#include "tests/gui/MessageboxFixture.h"

#include "engine/scene/FrameState.h"
#include "engine/sound/VoiceQueue.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"

#include <string>
#include <vector>

namespace {

using guitest::MessageboxFixture;

// Due at its trigger event, obsolete at its drop event, exhausted after a number of showings.
class ScriptedDialog : public CardSpecificDialog {
public:
    ScriptedDialog(std::string name, int trigger, int drop, bool modal, int showings)
        : CardSpecificDialog(0, 0, nullptr, {}, -1), m_Name(std::move(name)), m_Trigger(trigger), m_Drop(drop),
          m_bModal(modal), m_Showings(showings)
    {
        SetRect(0, 0, 120, 60, true);
        CreateButtons(0);
    }
    bool TestEvent(int event, Actor*) override { return event == m_Trigger; }
    bool TestCardEvent(int event, Actor*) override { return event == m_Drop; }
    bool IsModal() const override { return m_bModal; }
    bool IsExhausted() const override { return GetShownCount() >= m_Showings; }

    std::string m_Name;
    int m_Trigger;
    int m_Drop;
    bool m_bModal;
    int m_Showings;
};

int s_Pending = 0;
int Pending(int)
{
    return s_Pending;
}

class DialogManagerTest : public MessageboxFixture {
protected:
    void SetUp() override
    {
        MessageboxFixture::SetUp();
        DialogGameQueries queries;
        queries.CountPendingCards = Pending;
        SetDialogGameQueries(queries);
        s_Pending = 0;
    }
    void TearDown() override
    {
        DestroyAllDialogs();
        SetDialogGameQueries(DialogGameQueries{});
        MessageboxFixture::TearDown();
    }
    ScriptedDialog* Arm(const std::string& name, int trigger, int drop, bool modal, int showings = 99)
    {
        auto dialog = std::make_unique<ScriptedDialog>(name, trigger, drop, modal, showings);
        ScriptedDialog* const raw = dialog.get();
        AddArmedDialog(std::move(dialog));
        return raw;
    }
    // The name of the dialog shown, "" for none; answers it with OK when asked.
    static std::string Shown()
    {
        auto* const current = static_cast<ScriptedDialog*>(GetCurrentDialog());
        return current != nullptr && GetGameDisplay()->IsWindowRegistered(current) ? current->m_Name : "";
    }
    static void Answer()
    {
        ClickWindow(GetCurrentDialog()->GetButton(0));
    }
};

TEST_F(DialogManagerTest, DueDialogsAreShownPriorityFirstThenInOrder)
{
    Arm("normal A", 1, -1, false);
    Arm("normal B", 1, -1, false);
    Arm("modal", 2, -1, true);
    PostDialogEvent(1, nullptr);
    PostDialogEvent(2, nullptr);
    EXPECT_TRUE(HasPriorityDialogQueued());
    EXPECT_TRUE(HasNormalDialogQueued());

    const char* const order[] = {"modal", "normal A", "normal B"};
    for (const char* const name : order) {
        EXPECT_TRUE(UpdateDialogQueue());
        EXPECT_EQ(Shown(), name);
        EXPECT_TRUE(UpdateDialogQueue());  // unanswered: stays
        EXPECT_EQ(Shown(), name);
        EXPECT_EQ(IsPriorityDialogShown(), std::string(name) == "modal");
        EXPECT_EQ(IsNormalDialogShown(), std::string(name) != "modal");
        Answer();
    }
    EXPECT_FALSE(UpdateDialogQueue());
    EXPECT_EQ(Shown(), "");
}

TEST_F(DialogManagerTest, ObsoleteDialogsLeaveTheScreenAndTheQueues)
{
    Arm("shown", 1, 5, false);
    Arm("queued", 1, 5, false);
    Arm("stays", 1, 6, false);
    PostDialogEvent(1, nullptr);
    UpdateDialogQueue();
    ASSERT_EQ(Shown(), "shown");
    PostDialogEvent(5, nullptr);
    EXPECT_EQ(GetCurrentDialog(), nullptr);
    EXPECT_TRUE(GetGUIManager()->GetWindows().empty());
    EXPECT_TRUE(UpdateDialogQueue());
    EXPECT_EQ(Shown(), "stays");
}

TEST_F(DialogManagerTest, ExhaustedDialogsRetireAndARequeuedOneShowsTwice)
{
    ScriptedDialog* const once = Arm("once", 1, -1, false, 1);
    Arm("twice", 1, -1, false, 2);
    PostDialogEvent(1, nullptr);
    PostDialogEvent(1, nullptr);
    EXPECT_EQ(once->GetShownCount(), 1);  // retired after its first showing: not armed again

    std::vector<std::string> shown;
    while (UpdateDialogQueue()) {
        shown.push_back(Shown());
        Answer();
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"once", "twice", "twice"}));
}

TEST_F(DialogManagerTest, TheDialogHidesWhileCardsArePendingAndVoicesStopAfterAnAnswer)
{
    Arm("advice", 1, -1, true);
    Arm("next", 1, -1, false);
    PostDialogEvent(1, nullptr);
    UpdateDialogQueue();
    CardSpecificDialog* const dialog = GetCurrentDialog();
    const int left = dialog->GetLeft();

    s_Pending = 2;
    EXPECT_FALSE(UpdateDialogQueue());
    EXPECT_TRUE(dialog->IsHidden());
    EXPECT_FALSE(IsPriorityDialogShown());
    s_Pending = 0;
    EXPECT_TRUE(UpdateDialogQueue());
    EXPECT_FALSE(dialog->IsHidden());
    EXPECT_TRUE(IsPriorityDialogShown());
    EXPECT_EQ(dialog->GetLeft(), left);

    QueueVoice(u"data\\voice.wav", false);
    ASSERT_GT(VoiceQueueLength(), 0u);
    Answer();
    EXPECT_TRUE(UpdateDialogQueue());
    EXPECT_EQ(VoiceQueueLength(), 0u);
    EXPECT_EQ(Shown(), "next");
}

TEST_F(DialogManagerTest, ALinkInTheDialogOpensItsExplanation)
{
    ScriptedDialog* const dialog = Arm("links", 1, -1, false);
    dialog->CreateTextButton(u"Flying", PackColour(255, 255, 255), 0, 0, 7, -1)->SetTag(3);
    PostDialogEvent(1, nullptr);
    UpdateDialogQueue();
    EXPECT_EQ(dialog->GetExtraWindow(0)->GetTextColour(), (GUI_Colour{255, 192, 0, 255}));
    ClickWindow(dialog->GetExtraWindow(0));
    EXPECT_TRUE(UpdateDialogQueue());
    ASSERT_NE(dialog->GetExplanation(), nullptr);
    EXPECT_EQ(dialog->GetPressedButton(), -1);
    EXPECT_EQ(dialog->GetExtraWindow(0)->GetTextColour(), (GUI_Colour{0, 160, 224, 255}));
    // Destroying everything while it is shown unregisters it first.
    DestroyAllDialogs();
    EXPECT_TRUE(GetGUIManager()->GetWindows().empty());
    EXPECT_FALSE(UpdateDialogQueue());
}

} // namespace

namespace {

TEST_F(DialogManagerTest, TheOnlineLessonChangesNothing)
{
    Arm("advice", 1, -1, true);
    const int mode = s_GameMode;
    s_GameMode = 3;
    PostDialogEvent(1, nullptr);
    EXPECT_FALSE(HasPriorityDialogQueued());
    EXPECT_FALSE(UpdateDialogQueue());
    s_GameMode = mode;
    PostDialogEvent(1, nullptr);
    EXPECT_TRUE(HasPriorityDialogQueued());
}

} // namespace
