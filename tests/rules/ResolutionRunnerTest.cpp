// Paused resolutions run frame by frame and are answered as the learner answers them: the stack's window and its
// buttons in the physical lesson, the message field's buttons and the library list online.
#include "cards/Card.h"
#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/CardWindow.h"
#include "cards/LibraryDialog.h"
#include "cards/MessagePrompts.h"
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/HandAnimationLists.h"
#include "gui/GUI_Event.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_System.h"
#include "gui/Messagebox.h"
#include "gui/TextButton.h"
#include "lessons/LessonBox.h"
#include "lessons/TableFlow.h"
#include "rules/GameGlobals.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/ResolutionPrompts.h"
#include "rules/SpellStack.h"
#include "rules/StackPrompts.h"
#include "rules/TargetPrompt.h"
#include "rules/Targets.h"
#include "tests/cards/TableDrawFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Library cards live in the card table under these identifiers; the test's own spells use others.
constexpr int LAND_ID = 1;
constexpr int BEAST_ID = 2;
constexpr int CHARM_ID = 3;

class ResolutionRunnerTest : public tabletest::TableDrawFixture {
protected:
    ResolutionRunnerTest()
    {
        m_DesktopWidth = 640;
        m_DesktopHeight = 480;
    }

    void SetUp() override
    {
        TableDrawFixture::SetUp();
        GUI_System::Init();
        GetGUIManager()->SetHWnd(true);
        GUI_System::SetLoadBitmapFunction(LoadGUIBitmap);
        GUI_System::SetReleaseTextureFunction(ReleaseGUITexture);
        m_savedScreen = s_ScreenRect;
        s_ScreenRect = RasterRect{0, 0, 640, 480};
        GameDisplay& display = *GetGameDisplay();
        // The message field's buttons: OK and Cancel at (267, 437)-(307, 457).
        // Zones, piles and the advice position start as no earlier test left them.
        for (MatZone& zone : display.m_Zones)
            zone.rect = RasterRect{};
        display.m_PilePoints = {};
        display.m_LastLessonBoxX = -1;
        display.m_LastLessonBoxY = -1;
        display.m_Zones[15].rect = RasterRect{10, 400, 310, 460};
        display.m_Zones[12].rect = RasterRect{20, 10, 620, 390};
        display.m_Zones[13].rect = RasterRect{20, 390, 620, 480};
        for (int& button : display.m_FixedButtons)
            button = Image(40, 20);
        GetPaymentState().paying = false;
        OnlinePromptOwner().clear();
        ResetRulesState();
        for (const int id : {LAND_ID, BEAST_ID, CHARM_ID})
            m_saved.push_back(g_CardDefs[id]);
        DefineLibraryCard(LAND_ID, CT_LAND, u"CD_TESTLAND");
        DefineLibraryCard(BEAST_ID, CT_CREATURE, u"CD_TESTBEAST");
        DefineLibraryCard(CHARM_ID, CT_ENCHANT, u"CD_TESTCHARM");
        s_GameMode = 1;
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        SetMode(1);
        Human().m_Life = 20;
        Cpu().m_Life = 20;
        ClearLastPromptVoice();
        for (const char16_t* key :
             {u"PHYS_BASIC_OPPSPELL_GAINLIFE", u"PHYS_BASIC_SPELL_OPPDISCARD", u"PHYS_BASIC_SPELL_DAMAGE_OPPLIVE",
              u"PHYS_BASIC_SPELL_DAMAGE_OPPDIE", u"PHYS_BASIC_OPPSPELL_DAMAGE_YOUDIE", u"PHYS_BASIC_SPELL_VEKINDAL_OPPDIE",
              u"PHYS_BASIC_OPPSPELL_VEKINDAL_YOUDIE", u"PHYS_PROMPT_ZOLAKSAR_SEARCH",
              u"PRE_PHYS_PROMPT_ZOLAKSAR_SHUFFLE"})
            AddString(key, std::u16string(key) + u" %0 %2");
        for (const char16_t* key : {u"STACK_OK_TO_CONTINUE", u"ONL_TUTOR_TOPLAY", u"ONL_TUTOR_TOHAND"})
            AddString(key, key);
        AddString(u"PHYS_PROMPT_SPELL_DRAW_N", u"%0: draw %1");
        AddString(u"PHYS_PROMPT_SPELL_DISCARD_1", u"%0: discard %1");
        AddString(u"ONL_PROMPT_DISCARD_1", u"%0 asks for %1");
    }

    void TearDown() override
    {
        GetSpellStack().Shutdown();
        ClearTargetChoiceState();
        DestroyAllActors();
        PurgeRemovedActors();
        ResetRulesState();
        for (std::size_t i = 0; i < m_saved.size(); ++i)
            g_CardDefs[i + 1] = m_saved[i];
        GetPaymentState().paying = false;
        OnlinePromptOwner().clear();
        DeleteLessonBox();
        ClearStringTables();
        GUI_System::Shutdown();
        GUI_System::ClearCallbacks();
        s_ScreenRect = m_savedScreen;
        TableDrawFixture::TearDown();
    }

    static void DefineLibraryCard(int id, int type, const char16_t* name)
    {
        CARD card;
        card.m_Id = id;
        card.m_CardType = type;
        card.m_Cost.green = 1;
        for (std::size_t i = 0; name[i] != 0 && i < CARD_ID_NAME_LENGTH; ++i)
            card.m_IdName[i] = name[i];
        g_CardDefs[id] = card;
    }

    void SetMode(int mode)
    {
        s_GameMode = mode;
        SpellStack& stack = GetSpellStack();
        stack.Reset(mode > 2 ? 0 : 1);
        stack.OpenWindow();
    }

    CARD& Spell(int id, int effectType)
    {
        m_cards.push_back(std::make_unique<CARD>());
        CARD& card = *m_cards.back();
        card.m_Id = id;
        card.m_CardType = CT_SORCERY;
        card.m_SpellEffect.effectType = effectType;
        return card;
    }

    CardActor& Actor(const CARD& card, int owner, bool held)
    {
        auto* actor = new CardActor();
        actor->SetCard(&card);
        actor->SetOwner(owner);
        actor->SetOwnerRecord(GetPlayerState(owner));
        actor->m_Held = held ? 1 : 0;
        actor->m_InLibrary = false;
        actor->SetTapState(held ? TAP_OFF_TABLE : TAP_READY);
        actor->SetPlayedMark(held ? 0 : 1);
        RegisterActor(actor);
        return *actor;
    }

    // The stack pauses on the card's spell as the effect handler leaves it.
    CardActor& Pause(const CARD& spell, int owner, ::Actor* targetPlayer, CardActor* targetCard = nullptr,
                     int code = STACK_PROMPT_OTHER)
    {
        CardActor& card = Actor(spell, owner, false);
        SpellStack& stack = GetSpellStack();
        stack.m_ResolvingCard = &card;
        stack.m_ResolvingEffect = card.GetSpellEffect();
        stack.m_ResolvingTarget = card.GetSpellTarget();
        stack.m_ResolvingIsAbility = false;
        stack.m_ResolvingTargetPlayer = targetPlayer;
        stack.m_ResolvingTargetCard = targetCard;
        stack.m_ResolutionPaused = true;
        stack.m_PausedWord = 1;
        stack.m_PromptCode = code;
        return card;
    }

    static void Library(PlayerState& record, std::vector<int> ids)
    {
        record.m_LibraryCount = static_cast<int>(ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i)
            record.m_Library[i] = ids[i];
        record.m_NextDrawIndex = 0;
    }

    static void Frame() { GetSpellStack().RunResolutionPrompts(); }

    static Messagebox& Window() { return *GetSpellStack().GetWindow(); }

    static bool WindowShown()
    {
        return GetSpellStack().GetWindow() != nullptr && GetGameDisplay()->IsWindowRegistered(&Window());
    }

    static void Press(int index)
    {
        ASSERT_LT(index, Window().GetButtonCount());
        GUI_InputEvent command;
        command.type = GUI_EVENT_COMMAND;
        command.sender = Window().GetButton(index);
        Window().HandleInput(command);
    }

    // The learner presses on the list's card at that place.
    static void PressListCard(int index)
    {
        LibraryDialog* const list = GetSpellStack().GetLibraryList();
        ASSERT_NE(list, nullptr);
        CardWindow* const window = list->GetCardWindow(index);
        ASSERT_NE(window, nullptr);
        GUI_InputEvent press;
        press.type = GUI_EVENT_MOUSE;
        press.code = GUI_MOUSE_LEFT_DOWN;
        press.x = window->GetLeft() + 2;
        press.y = window->GetTop() + 2;
        press.keys = GUI_KEY_LBUTTON;
        GetGUIManager()->DispatchEvent(press);
    }

    static void Mouse(int code, int x, int y, int keys)
    {
        GUI_InputEvent event;
        event.type = GUI_EVENT_MOUSE;
        event.code = code;
        event.x = x;
        event.y = y;
        event.keys = keys;
        GetGUIManager()->DispatchEvent(event);
    }

    static int CountRegistered(const GUI_Window* window)
    {
        int count = 0;
        for (const GUI_Window* shown : GetGameDisplay()->GetGameWindows())
            count += shown == window ? 1 : 0;
        return count;
    }

    static PlayerState& Human() { return *GetPlayerState(PLAYER_HUMAN); }
    static PlayerState& Cpu() { return *GetPlayerState(PLAYER_CPU); }

    std::vector<CARD> m_saved;
    RasterRect m_savedScreen;
    std::vector<std::unique_ptr<CARD>> m_cards;
    ::Actor* m_human = nullptr;
    ::Actor* m_cpu = nullptr;
};

TEST_F(ResolutionRunnerTest, BasicRowsShowTheirTextAndVoiceAndEndOnTheLearnersOk)
{
    struct Case {
        const char* name;
        int id, owner, effect;
        bool aimAtHuman;
        int humanLife, cpuLife;
        const char16_t* key;
        const char16_t* voice;
    };
    const Case cases[] = {
        {"cpu gains life", 0, PLAYER_CPU, EFFECT_MODLIFE, false, 20, 20, u"PHYS_BASIC_OPPSPELL_GAINLIFE", u""},
        {"cpu burns the human out", 0, PLAYER_CPU, EFFECT_DAMAGE, true, 0, 20, u"PHYS_BASIC_OPPSPELL_DAMAGE_YOUDIE",
         u"vo_phys\\basic_oppspell_damage_youlose.wav"},
        {"cpu drains the human out", CD_VEKINDAL, PLAYER_CPU, EFFECT_DRAINLIFE, true, 0, 20,
         u"PHYS_BASIC_OPPSPELL_VEKINDAL_YOUDIE", u"vo_phys\\basic_oppspell_vekindal_die.wav"},
        {"human drains the cpu out", CD_VEKINDAL, PLAYER_HUMAN, EFFECT_DRAINLIFE, false, 20, 0,
         u"PHYS_BASIC_SPELL_VEKINDAL_OPPDIE", u"vo_phys\\basic_spell_vekindal_win.wav"},
        {"cpu discards", 0, PLAYER_HUMAN, EFFECT_DRAWDISCARD, false, 20, 20, u"PHYS_BASIC_SPELL_OPPDISCARD",
         u"vo_phys\\basic_spell_oppdiscard.wav"},
        {"human burns the cpu out", 0, PLAYER_HUMAN, EFFECT_DAMAGE, false, 20, 0, u"PHYS_BASIC_SPELL_DAMAGE_OPPDIE",
         u"vo_phys\\basic_spell_damage_opplose.wav"},
    };
    for (const Case& c : cases) {
        Human().m_Life = c.humanLife;
        Cpu().m_Life = c.cpuLife;
        CARD& spell = Spell(c.id, c.effect);
        spell.m_SpellEffect.damageAmt = 3;
        spell.m_SpellEffect.modLifeAmt = 4;
        spell.m_SpellEffect.discardAmt = 2;
        CardActor& card = Pause(spell, c.owner, c.aimAtHuman ? m_human : m_cpu);
        ClearLastPromptVoice();
        Frame();
        ASSERT_TRUE(WindowShown()) << c.name;
        EXPECT_EQ(CountRegistered(&Window()), 1) << c.name;
        const int amount = c.effect == EFFECT_MODLIFE ? 4 : c.effect == EFFECT_DRAWDISCARD ? 2 : 3;
        EXPECT_EQ(Window().GetText(), std::u16string(c.key) + u"  " + char16_t(u'0' + amount)) << c.name;
        EXPECT_EQ(GetLastPromptVoice(), c.voice) << c.name;
        EXPECT_EQ(GetSpellStack().m_PausedWord, 2) << c.name;
        ASSERT_EQ(Window().GetButtonCount(), 1) << c.name;

        Frame();  // no answer yet: the prompt waits
        EXPECT_TRUE(GetSpellStack().IsPaused()) << c.name;
        EXPECT_TRUE(WindowShown()) << c.name;

        Press(0);
        Frame();
        EXPECT_FALSE(GetSpellStack().IsPaused()) << c.name;
        EXPECT_EQ(GetSpellStack().m_PromptCode, STACK_PROMPT_NONE) << c.name;
        EXPECT_EQ(GetSpellStack().m_ResolvingCard, nullptr) << c.name;
        EXPECT_FALSE(WindowShown()) << c.name;
        EXPECT_EQ(CountRegistered(&Window()), 0) << c.name;
        EXPECT_FALSE(card.IsNotLeaving()) << c.name << ": the spent sorcery goes";
        Frame();  // an idle stack neither shows nor ends anything
        EXPECT_FALSE(WindowShown()) << c.name;
    }

    // The CPU lives: the explanation ends with its voice, no click needed.
    Cpu().m_Life = 17;
    CARD& burn = Spell(0, EFFECT_DAMAGE);
    burn.m_SpellEffect.damageAmt = 3;
    Pause(burn, PLAYER_HUMAN, m_cpu);
    Frame();
    EXPECT_EQ(GetLastPromptVoice(), u"vo_phys\\basic_spell_damage_opp.wav");
    EXPECT_TRUE(WindowShown());
    Frame();
    EXPECT_FALSE(GetSpellStack().IsPaused());
    EXPECT_FALSE(WindowShown());
}

TEST_F(ResolutionRunnerTest, CpuKillWaitsForTheCardToReachTheGraveyard)
{
    CARD& beastDef = g_CardDefs[BEAST_ID];
    CardActor& victim = Actor(beastDef, PLAYER_HUMAN, false);
    victim.SetExitMove(-1);
    CARD& spell = Spell(0, EFFECT_DAMAGE);
    spell.m_SpellEffect.damageAmt = 5;
    Pause(spell, PLAYER_CPU, nullptr, &victim);
    Frame();
    EXPECT_TRUE(WindowShown());
    EXPECT_EQ(GetLastPromptVoice(), u"vo_phys\\basic_oppspell_damage_kill.wav");
    EXPECT_EQ(Window().GetButtonCount(), 0);
    // A miss ends at once.
    GetSpellStack().EndResolution(false);
    Frame();
    CardActor& standing = Actor(beastDef, PLAYER_HUMAN, false);
    Pause(spell, PLAYER_CPU, nullptr, &standing);
    Frame();
    EXPECT_FALSE(GetSpellStack().IsPaused());
    EXPECT_FALSE(WindowShown());
}

TEST_F(ResolutionRunnerTest, PhysicalDrawLeavesEachCardOnThePileUntilTheLearnerTakesIt)
{
    SetMode(2);
    Library(Human(), {LAND_ID, BEAST_ID, CHARM_ID});
    CARD& spell = Spell(0, EFFECT_DRAWDISCARD);
    spell.m_SpellEffect.drawAmt = 2;
    spell.m_SpellEffect.discardAmt = 1;
    Pause(spell, PLAYER_HUMAN, m_human);
    EXPECT_EQ(GetSpellStack().m_PromptCode, STACK_PROMPT_OTHER);
    Frame();
    ASSERT_TRUE(WindowShown());
    EXPECT_EQ(Window().GetText(), u": draw 2");
    EXPECT_EQ(GetLastPromptVoice(), u"vo_phys\\prompt_spell_draw_N.wav");

    for (int drawn = 0; drawn < 2; ++drawn) {
        Frame();
        CardActor* const card = GetTableFlow().cardDrawnByHand;
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->GetId(), drawn == 0 ? LAND_ID : BEAST_ID);
        EXPECT_TRUE(card->IsInLibrary()) << "it lies on the pile";
        EXPECT_EQ(Human().m_NextDrawIndex, drawn + 1);
        Frame();
        EXPECT_EQ(Human().m_NextDrawIndex, drawn + 1) << "no second card while one lies on the pile";
        // The learner drags it to the hand.
        card->SetInLibrary(false);
        card->m_DeckCardMarker = 0;
        GetTableFlow().cardDrawnByHand = nullptr;
    }
    Frame();
    EXPECT_EQ(GetSpellStack().m_PausedWord, 3);
    Frame();  // the discard asks for one card of the two in hand
    EXPECT_EQ(Window().GetText(), u": discard 1");
    EXPECT_EQ(GetLastPromptVoice(), u"vo_phys\\prompt_oppspell_discard_1.wav");
    CardActor* held = nullptr;
    for (int i = 0; i < GetActorCount(); ++i)
        if (CardActor* const card = AsCardActor(GetActorAt(i)); card != nullptr && card->GetId() == LAND_ID)
            held = card;
    ASSERT_NE(held, nullptr);
    GetSpellStack().m_PromptCard = held;
    Frame();
    EXPECT_FALSE(held->IsNotLeaving());
    Frame();
    EXPECT_FALSE(GetSpellStack().IsPaused());
    EXPECT_FALSE(WindowShown());
}

TEST_F(ResolutionRunnerTest, DrawingFromAnEmptyLibraryLosesAndEnds)
{
    SetMode(2);
    Library(Human(), {});
    CARD& spell = Spell(0, EFFECT_DRAWDISCARD);
    spell.m_SpellEffect.drawAmt = 1;
    Pause(spell, PLAYER_HUMAN, m_human);
    Frame();
    Frame();
    EXPECT_TRUE(Human().HasLost());
    EXPECT_FALSE(GetSpellStack().IsPaused());
}

TEST_F(ResolutionRunnerTest, PhysicalSearchWithoutLandsOffersCancelAndLeavesTheLibrary)
{
    SetMode(2);
    Library(Human(), {BEAST_ID, CHARM_ID});
    CARD& spell = Spell(CD_ZOLAKSAR, EFFECT_TUTOR);
    spell.m_SpellEffect.raiseTutorType = RAISETUTOR_TOPLAY;
    spell.m_SpellTarget.type = TT_LAND;
    Pause(spell, PLAYER_HUMAN, nullptr, nullptr, STACK_PROMPT_LIBRARY);
    Frame();
    EXPECT_EQ(GetSpellStack().m_PromptCode, STACK_PROMPT_LIBRARY);
    ASSERT_TRUE(WindowShown());
    EXPECT_EQ(GetLastPromptVoice(), u"vo_phys\\basic_spell_zolaksar01.wav");
    ASSERT_TRUE(GetSpellStack().IsLibraryListOpen());
    EXPECT_EQ(GetSpellStack().GetLibraryList()->GetCardCount(), 2);
    EXPECT_GE(Window().GetTop(), GetSpellStack().GetLibraryList()->GetBottom()) << "the window sits under the list";
    // After the table's layout changed the list stays on the opponent's half and the window under it.
    const LibraryDialog& list = *GetSpellStack().GetLibraryList();
    const RasterRect opened{list.GetLeft(), list.GetTop(), list.GetRight(), list.GetBottom()};
    Window().MoveTo(0, 0, true);
    PlaceStackWindow();
    EXPECT_EQ(list.GetTop(), opened.top);
    EXPECT_EQ(list.GetBottom(), opened.bottom);
    EXPECT_GT(list.GetRight(), list.GetLeft());
    EXPECT_GE(Window().GetTop(), list.GetBottom());
    ASSERT_EQ(Window().GetButtonCount(), 1);
    Press(0);
    Frame();
    EXPECT_FALSE(GetSpellStack().IsPaused());
    EXPECT_FALSE(GetSpellStack().IsLibraryListOpen());
    EXPECT_EQ(GetSpellStack().GetLibraryList(), nullptr);
    EXPECT_FALSE(WindowShown());
    EXPECT_EQ(Human().m_NextDrawIndex, 0);
    EXPECT_EQ(Human().m_Library[0], BEAST_ID);
    EXPECT_EQ(GetSpellStack().m_PromptCode, STACK_PROMPT_NONE);
}

TEST_F(ResolutionRunnerTest, OnlineSearchTakesThePressedCardAndCancelTakesNone)
{
    SetMode(3);
    Library(Human(), {CHARM_ID, BEAST_ID, LAND_ID, CHARM_ID});
    CARD& spell = Spell(0, EFFECT_TUTOR);
    spell.m_SpellEffect.raiseTutorType = RAISETUTOR_TOHAND;
    spell.m_SpellTarget.type = TT_CREATURE;
    spell.m_SpellTarget.state = LIBRARY;
    spell.m_SpellTarget.caster = true;
    spell.m_SpellTarget.owner = OWNER_EITHER;
    spell.m_SpellTarget.color = ManaCost(1, 1, 1, 1, 1, 1);
    Pause(spell, PLAYER_HUMAN, nullptr, nullptr, STACK_PROMPT_LIBRARY);
    Frame();
    ASSERT_TRUE(GetSpellStack().IsLibraryListOpen());
    Frame();
    EXPECT_EQ(OnlinePromptOwner(), u"ONL_TUTOR_TOHAND");
    EXPECT_TRUE(IsOnlinePromptShowing());

    PressListCard(0);  // not a creature: refused
    EXPECT_EQ(GetSpellStack().m_ResolvingTargetCard, nullptr);
    PressListCard(1);
    CardActor* const taken = GetSpellStack().m_ResolvingTargetCard;
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->GetId(), BEAST_ID);
    EXPECT_EQ(Human().m_NextDrawIndex, 1);
    EXPECT_EQ(Human().m_Library[0], BEAST_ID) << "the chosen entry moved to the drawn place";
    PressListCard(3);
    EXPECT_EQ(GetSpellStack().m_ResolvingTargetCard, taken) << "one card per search";
    Frame();
    EXPECT_FALSE(GetSpellStack().IsPaused());
    EXPECT_TRUE(taken->IsHeld());
    EXPECT_FALSE(taken->IsInLibrary());
    EXPECT_FALSE(GetSpellStack().IsLibraryListOpen());
    EXPECT_FALSE(IsOnlinePromptShowing());

    // Cancel before any card is taken: nothing leaves the library.
    Library(Human(), {CHARM_ID, BEAST_ID});
    Pause(spell, PLAYER_HUMAN, nullptr, nullptr, STACK_PROMPT_LIBRARY);
    Frame();
    Frame();
    Click(290, 450);
    Frame();
    EXPECT_FALSE(GetSpellStack().IsPaused());
    EXPECT_FALSE(GetSpellStack().IsLibraryListOpen());
    EXPECT_EQ(Human().m_NextDrawIndex, 0);
    EXPECT_EQ(Human().m_Library[0], CHARM_ID);
    EXPECT_EQ(Human().m_Library[1], BEAST_ID);
}

TEST_F(ResolutionRunnerTest, OnlineLookAtTheTopPlaysACreatureAndSendsOtherCardsAway)
{
    struct Case {
        int top;
        bool inPlay;
    };
    for (const Case c : {Case{BEAST_ID, true}, Case{CHARM_ID, false}}) {
        SetMode(3);
        Library(Human(), {c.top, LAND_ID});
        CARD& spell = Spell(0, EFFECT_TUTOR);
        spell.m_SpellEffect.raiseTutorType = RAISETUTOR_LIBTOP_TARGETTOPLAY;
        Pause(spell, PLAYER_HUMAN, nullptr, nullptr, STACK_PROMPT_LIBRARY);
        Frame();
        ASSERT_TRUE(GetSpellStack().IsLibraryListOpen());
        EXPECT_EQ(GetSpellStack().GetLibraryList()->GetCardCount(), 1);
        EXPECT_EQ(OnlinePromptOwner(), u"STACK_OK_TO_CONTINUE");
        Click(290, 450);
        Frame();
        Frame();
        EXPECT_FALSE(GetSpellStack().IsPaused());
        EXPECT_FALSE(GetSpellStack().IsLibraryListOpen());
        EXPECT_EQ(Human().m_NextDrawIndex, 1);
        CardActor* top = nullptr;
        for (int i = 0; i < GetActorCount(); ++i)
            if (CardActor* const card = AsCardActor(GetActorAt(i)); card != nullptr && card->GetId() == c.top)
                top = card;
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->IsNotLeaving(), c.inPlay);
        if (c.inPlay) {
            EXPECT_EQ(top->GetTapState(), TAP_NEW);
        }
        DestroyAllActors();
        PurgeRemovedActors();
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
    }
}

TEST_F(ResolutionRunnerTest, OnlineDiscardNeverAsksForMoreThanTheHandHolds)
{
    SetMode(3);
    CARD& spell = Spell(0, EFFECT_DRAWDISCARD);
    spell.m_SpellEffect.discardAmt = 3;
    CardActor& only = Actor(g_CardDefs[CHARM_ID], PLAYER_HUMAN, true);
    Pause(spell, PLAYER_HUMAN, m_human);
    Frame();
    Frame();
    Frame();
    EXPECT_EQ(OnlinePromptOwner(), u" asks for 1");
    GetSpellStack().m_PromptCard = &only;
    Frame();
    EXPECT_FALSE(only.IsNotLeaving());
    Frame();
    EXPECT_FALSE(GetSpellStack().IsPaused());
    EXPECT_FALSE(IsOnlinePromptShowing());

    // An empty hand: the prompt ends without showing anything.
    Pause(spell, PLAYER_HUMAN, m_human);
    for (int i = 0; i < 3; ++i)
        Frame();
    EXPECT_FALSE(GetSpellStack().IsPaused());
}

TEST_F(ResolutionRunnerTest, PhysicalSearchTakesTheLandDraggedToTheTableAndShufflesOnAPileClick)
{
    SetMode(2);
    GameDisplay& display = *GetGameDisplay();
    display.m_Zones[12].rect = RasterRect{20, 10, 620, 230};
    display.m_Zones[13].rect = RasterRect{0, 240, 640, 480};
    display.m_Zones[1].rect = RasterRect{400, 300, 640, 480};
    display.m_SmallCardBack = Image(40, 60);
    display.m_PilePoints[0] = MatPoint{560, 400};
    Library(Human(), {BEAST_ID, LAND_ID, CHARM_ID});
    CARD& spell = Spell(CD_ZOLAKSAR, EFFECT_TUTOR);
    spell.m_SpellEffect.raiseTutorType = RAISETUTOR_TOPLAYTAPPED;
    spell.m_SpellTarget = TargetSpec{false, false, ManaCost(1, 1, 1, 1, 1, 1), LIBRARY, OWNER_SELF, TT_LAND};
    Pause(spell, PLAYER_HUMAN, nullptr, nullptr, STACK_PROMPT_LIBRARY);
    Frame();
    ASSERT_TRUE(GetSpellStack().IsLibraryListOpen());
    EXPECT_EQ(Window().GetButtonCount(), 0) << "a land is left: no way out";
    LibraryDialog& list = *GetSpellStack().GetLibraryList();
    ASSERT_EQ(list.GetCardCount(), 3);

    // A creature does not move; the land dropped back on the list stays in the library.
    const CardWindow& beast = *list.GetCardWindow(0);
    Mouse(GUI_MOUSE_LEFT_DOWN, beast.GetLeft() + 2, beast.GetTop() + 2, GUI_KEY_LBUTTON);
    EXPECT_EQ(list.GetDraggedWindow(), nullptr);
    Mouse(GUI_MOUSE_LEFT_UP, beast.GetLeft() + 2, beast.GetTop() + 2, 0);
    const CardWindow& land = *list.GetCardWindow(1);
    const int x = land.GetLeft() + 2;
    const int y = land.GetTop() + 2;
    Mouse(GUI_MOUSE_LEFT_DOWN, x, y, GUI_KEY_LBUTTON);
    ASSERT_EQ(list.GetDraggedWindow(), &land);
    Mouse(GUI_MOUSE_LEFT_UP, x, y, 0);
    EXPECT_EQ(GetSpellStack().m_ResolvingTargetCard, nullptr);

    // Dragged onto the land area below the list it is taken.
    Mouse(GUI_MOUSE_LEFT_DOWN, land.GetLeft() + 2, land.GetTop() + 2, GUI_KEY_LBUTTON);
    Mouse(GUI_MOUSE_MOVE, 100, 350, GUI_KEY_LBUTTON);
    Mouse(GUI_MOUSE_LEFT_UP, 100, 350, 0);
    CardActor* const taken = GetSpellStack().m_ResolvingTargetCard;
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->GetId(), LAND_ID);
    EXPECT_EQ(Human().m_NextDrawIndex, 1);
    EXPECT_EQ(Human().m_Library[0], LAND_ID);

    Frame();
    EXPECT_FALSE(GetSpellStack().IsLibraryListOpen());
    EXPECT_EQ(taken->GetTapState(), TAP_TAPPED);
    EXPECT_FALSE(taken->IsHeld());
    EXPECT_FALSE(taken->IsInLibrary());
    EXPECT_EQ(GetSpellStack().m_PausedWord, 3);
    EXPECT_EQ(GetLastPromptVoice(), u"vo_phys\\basic_spell_zolaksar02.wav");
    EXPECT_TRUE(WindowShown());

    RasterRect pile{};
    display.GetPlayerLibraryRect(pile, false);
    const int px = pile.left + 2;
    const int py = pile.top + 2;
    ASSERT_EQ(GetGUIManager()->GetWindowAt(px, py), nullptr);
    Click(pile.left - 30, py);  // beside the pile: nothing happens
    Frame();
    EXPECT_TRUE(GetSpellStack().IsPaused());
    Click(px, py);
    Frame();
    EXPECT_EQ(MouseState.leftClicked, 0) << "the click is used";
    EXPECT_FALSE(GetSpellStack().IsPaused());
    EXPECT_FALSE(WindowShown());
}

TEST_F(ResolutionRunnerTest, StackPromptCodeFollowsThePausedPrompt)
{
    SetMode(3);
    struct Case {
        const char* name;
        int effect;
        int code;
    };
    const Case cases[] = {
        {"search", EFFECT_TUTOR, STACK_PROMPT_LIBRARY},
        {"look", EFFECT_SPY, STACK_PROMPT_LIBRARY},
        {"draw and discard", EFFECT_DRAWDISCARD, STACK_PROMPT_OTHER},
    };
    SpellStack& stack = GetSpellStack();
    for (const Case& c : cases) {
        Library(Human(), {BEAST_ID, LAND_ID});
        Library(Cpu(), {BEAST_ID, LAND_ID});
        CARD& spell = Spell(0, c.effect);
        spell.m_SpellEffect.raiseTutorType = RAISETUTOR_TOHAND;
        spell.m_SpellEffect.spyAmt = 2;
        EXPECT_EQ(stack.m_PromptCode, STACK_PROMPT_NONE) << c.name;
        CardActor& card = Actor(spell, PLAYER_HUMAN, false);
        stack.CastSpell(&card, nullptr, m_human, false, false);
        stack.m_State = STACK_RESOLVE;
        stack.Resolve();
        ASSERT_TRUE(stack.IsPaused()) << c.name;
        EXPECT_EQ(stack.m_PromptCode, c.code) << c.name;
        for (int frame = 0; frame < 4 && stack.IsPaused(); ++frame) {
            Frame();
            EXPECT_EQ(stack.m_PromptCode, stack.IsPaused() ? c.code : STACK_PROMPT_NONE) << c.name;
            Click(290, 450);  // OK or Cancel in the message field
        }
        EXPECT_FALSE(stack.IsPaused()) << c.name;
        EXPECT_EQ(stack.m_PromptCode, STACK_PROMPT_NONE) << c.name;
        EXPECT_FALSE(stack.IsLibraryListOpen()) << c.name;
        MouseState = MouseRecord();
    }
}

TEST_F(ResolutionRunnerTest, TheStackWindowHidesBehindALessonBoxAndComesBack)
{
    CARD& spell = Spell(0, EFFECT_MODLIFE);
    spell.m_SpellEffect.modLifeAmt = 2;
    Pause(spell, PLAYER_CPU, m_cpu);
    Frame();
    ASSERT_TRUE(WindowShown());
    auto* box = new Messagebox(DIALOG_KIND_MESSAGEBOX);
    box->SetKind(11);
    SetLessonBox(box);
    GetGameDisplay()->RegisterWindow(box);
    Frame();
    EXPECT_TRUE(Window().IsHidden());
    EXPECT_TRUE(WindowShown()) << "hidden, still registered";
    GetGameDisplay()->UnregisterWindow(box);
    Frame();
    EXPECT_FALSE(Window().IsHidden());
    Press(0);
    Frame();
    EXPECT_FALSE(WindowShown());
}

TEST_F(ResolutionRunnerTest, CpuSearchPutsTheDrawnLandIntoPlayTappedAndShuffles)
{
    g_CardDefs[LAND_ID].m_Ability.effect.manaProduced.green = 1;
    Library(Cpu(), {BEAST_ID, CHARM_ID, LAND_ID});
    CARD& spell = Spell(CD_ZOLAKSAR, EFFECT_TUTOR);
    spell.m_SpellEffect.raiseTutorType = RAISETUTOR_TOPLAY;
    spell.m_SpellTarget = TargetSpec{false, false, ManaCost(0, 0, 1, 0, 0, 0), LIBRARY, OWNER_SELF, TT_LAND};
    Pause(spell, PLAYER_CPU, nullptr, nullptr, STACK_PROMPT_LIBRARY);
    SpellStack& stack = GetSpellStack();
    Frame();
    ASSERT_TRUE(stack.IsPaused());
    EXPECT_TRUE(WindowShown()) << "the basic game explains the CPU's search";
    EXPECT_EQ(stack.m_PausedWord, 2);
    EXPECT_EQ(Cpu().m_Library[0], LAND_ID) << "the land is the CPU's next draw";
    EXPECT_EQ(Cpu().m_CardsToDraw, 1);
    Frame();
    EXPECT_EQ(stack.m_PausedWord, 2) << "waits for the drawing hand's land";
    // The drawing hand has dealt the land.
    CardActor& land = Actor(g_CardDefs[LAND_ID], PLAYER_CPU, true);
    stack.m_ResolvingTargetCard = &land;
    Cpu().m_CardsToDraw = 0;
    for (int frame = 0; frame < 3; ++frame) {
        Frame();
        // The acting hand has set the land down.
        GetCpuPlayedCards().clear();
    }
    EXPECT_FALSE(stack.IsPaused());
    EXPECT_FALSE(land.IsHeld());
    EXPECT_EQ(land.GetTapState(), TAP_TAPPED);
    EXPECT_FALSE(WindowShown());

    // No land of the colours: the search ends at once.
    Library(Cpu(), {BEAST_ID});
    Pause(spell, PLAYER_CPU, nullptr, nullptr, STACK_PROMPT_LIBRARY);
    Frame();
    EXPECT_FALSE(stack.IsPaused());
}

} // namespace
