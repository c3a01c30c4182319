#include "engine/scene/Actor.h"

#include "app/MainLoop.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/PlayerActors.h"
#include "platform/Headless.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::u16string> s_Updates;
Actor* s_Victim = nullptr;

void Record(Actor* actor)
{
    s_Updates.emplace_back(actor->GetName());
}

// Each writes to its own actor after the call, so a premature delete shows under the sanitizers.
void RemoveSelf(Actor* actor)
{
    Record(actor);
    RemoveActor(actor);
    actor->m_Age += 1;
}

void RemoveVictim(Actor* actor)
{
    Record(actor);
    RemoveActor(s_Victim);
    actor->m_Age += 1;
}

void SpawnOnce(Actor* actor)
{
    Record(actor);
    if (actor->m_Age++ == 0) {
        SpawnActor(u"child", 0, Record, 0, 0, 0, 0, 0, 0);
    }
}

void ClearAll(Actor* actor)
{
    Record(actor);
    DestroyAllActors();
    actor->m_Age += 1;
    SpawnActor(u"reborn", 0, Record, 0, 0, 0, 0, 0, 0);
}

void MarkForRemoval(Actor* actor)
{
    Record(actor);
    actor->m_Flags |= ACTOR_FLAG_REMOVE;
}

void MoveRight(Actor* actor)
{
    actor->m_Position.x += 1.0f;
}

class ActorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Forget();
        GetGameDisplay()->m_SceneTag = 1;
    }
    void TearDown() override { Forget(); }

    static void Forget()
    {
        DestroyAllActors();
        PurgeRemovedActors();
        s_Updates.clear();
        s_Victim = nullptr;
        ResetVoiceQueue();
        DeleteHintRegistry();
        GetGameDisplay()->m_SceneTag = 0;
    }

    // One frame as the frame tick runs it.
    static std::vector<std::u16string> Frame()
    {
        s_Updates.clear();
        PurgeRemovedActors();
        UpdateActors();
        return s_Updates;
    }

    using Names = std::vector<std::u16string>;
};

TEST_F(ActorTest, SpawnSetsTheSpecifiedFields)
{
    plat::headless::SetTime(1234);
    Actor* actor = SpawnActor(u"0123456789012345678901234567890123456789", 7, Record, 1, 2, 3, 0.5f, 0.25f, 0.125f);
    ASSERT_NE(actor, nullptr);
    EXPECT_EQ(std::u16string(actor->GetName()), u"0123456789012345678901234567890");
    EXPECT_EQ(actor->m_SpawnValue, 7);
    EXPECT_EQ(actor->m_Flags, ACTOR_FLAG_FIRST_FRAME | ACTOR_FLAG_SPAWN_SET);
    EXPECT_EQ(actor->m_State, 0);
    EXPECT_EQ(actor->m_StateTime, 0u);  // a fresh actor is already in state 0
    EXPECT_FLOAT_EQ(actor->m_PreviousPosition.y, 2.0f);
    EXPECT_FLOAT_EQ(actor->m_Rotation.z, 0.125f);
    EXPECT_FLOAT_EQ(actor->m_Scale.x, 1.0f);
    EXPECT_FLOAT_EQ(actor->m_Pivot[1], 0.5f);
    EXPECT_EQ(actor->m_StackWord, -1);
    EXPECT_EQ(actor->m_SpawnMark, 3);
    EXPECT_EQ(actor->GetType(), ACTOR_TYPE_PLAIN);
    EXPECT_TRUE(IsActorRegistered(actor));
    EXPECT_EQ(FindActorByName(u"0123456789012345678901234567890"), actor);

    const Actor* later = SpawnActor(u"later", 0, nullptr, 0, 0, 0, 0, 0, 0);
    EXPECT_GT(later->GetSerial(), actor->GetSerial());
}

TEST_F(ActorTest, ChildActorsStartFromTheirParent)
{
    const Actor* parent = SpawnActor(u"parent", 0, nullptr, 10, 20, 30, 1, 2, 3);
    const Actor* child = SpawnChildActor(parent, u"child", 4, nullptr, 1, 2, 3);
    ASSERT_NE(child, nullptr);
    EXPECT_FLOAT_EQ(child->m_Position.x, 11.0f);
    EXPECT_FLOAT_EQ(child->m_Position.z, 33.0f);
    EXPECT_FLOAT_EQ(child->m_PreviousPosition.x, 0.0f);
    EXPECT_FLOAT_EQ(child->m_Rotation.y, 2.0f);
    EXPECT_EQ(child->m_SpawnMark, 0);
    const Actor* orphan = SpawnChildActor(nullptr, u"orphan", 0, nullptr, 5, 5, 5);
    EXPECT_FLOAT_EQ(orphan->m_Position.x, 0.0f);
    EXPECT_EQ(GetActorCount(), 3);
    EXPECT_EQ(CreateActor(2), nullptr);
}

TEST_F(ActorTest, StatesStampTheirTimeAndStateZeroClearsHintCounts)
{
    Actor* actor = SpawnActor(u"a", 0, nullptr, 0, 0, 0, 0, 0, 0);
    plat::headless::SetTime(100);
    actor->SetState(3);
    EXPECT_EQ(actor->GetState(), 3);
    EXPECT_EQ(actor->GetStateTime(), 100u);
    plat::headless::SetTime(200);
    actor->SetState(3);
    EXPECT_EQ(actor->GetStateTime(), 100u);

    HintRegistry* hints = GetHintRegistry();
    ASSERT_NE(hints, nullptr);
    EXPECT_TRUE(hints->PlayVoiceLimited(u"hint.wav", 1, false));
    EXPECT_FALSE(hints->PlayVoiceLimited(u"hint.wav", 1, false));
    actor->SetState(0);
    EXPECT_EQ(actor->GetStateTime(), 200u);
    EXPECT_TRUE(hints->PlayVoiceLimited(u"hint.wav", 1, false));
}

TEST_F(ActorTest, StateEntryActionsOfThePlayerActors)
{
    Actor* human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Actor* other = SpawnActor(u"other", 0, nullptr, 0, 0, 0, 0, 0, 0);
    SetPlayerActors(human, nullptr);
    plat::headless::SetTime(500);
    StampLessonTime();
    plat::headless::SetTime(700);
    other->SetState(1);
    EXPECT_EQ(GetLessonTime(), 500u);
    human->SetState(1);
    EXPECT_EQ(GetLessonTime(), 700u);

    TakeState13Flag();
    other->SetState(13);
    EXPECT_TRUE(TakeState13Flag());
    EXPECT_FALSE(TakeState13Flag());
    SetState13Flag();
    SetPlayerActors(nullptr, nullptr);
}

TEST_F(ActorTest, UpdateRunsEveryActorOnceInListOrder)
{
    Actor* a = SpawnActor(u"a", 0, Record, 0, 0, 0, 0, 0, 0);
    SpawnActor(u"b", 0, MoveRight, 5, 0, 0, 0, 0, 0);
    Actor* c = SpawnActor(u"c", 0, Record, 0, 0, 0, 0, 0, 0);
    c->m_Flags |= ACTOR_FLAG_SUSPENDED;
    EXPECT_EQ(Frame(), (Names{u"a"}));
    const Actor* b = FindActorByName(u"b");
    EXPECT_FLOAT_EQ(b->m_Position.x, 6.0f);
    EXPECT_FLOAT_EQ(b->m_PreviousPosition.x, 5.0f);
    c->m_Flags &= ~ACTOR_FLAG_SUSPENDED;
    EXPECT_EQ(Frame(), (Names{u"a", u"c"}));

    // Before the scene is set up only the camera runs.
    GetGameDisplay()->m_SceneTag = 0;
    EXPECT_EQ(Frame(), (Names{}));
    EXPECT_FLOAT_EQ(b->m_Position.x, 7.0f);
    (void)a;
}

TEST_F(ActorTest, RemovalFromInsideBehaviours)
{
    struct Case {
        const char* what;
        ActorBehaviour middle;
        const char16_t* victim;
        std::vector<std::u16string> first;
        std::vector<std::u16string> second;
    };
    const Case cases[] = {
        {"self", RemoveSelf, nullptr, {u"a", u"b", u"c"}, {u"a", u"c"}},
        {"later actor", RemoveVictim, u"c", {u"a", u"b"}, {u"a", u"b"}},
        {"earlier actor", RemoveVictim, u"a", {u"a", u"b", u"c"}, {u"b", u"c"}},
        {"flag bit 0", MarkForRemoval, nullptr, {u"a", u"b", u"c"}, {u"a", u"c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Forget();
        GetGameDisplay()->m_SceneTag = 1;
        SpawnActor(u"a", 0, Record, 0, 0, 0, 0, 0, 0);
        SpawnActor(u"b", 0, c.middle, 0, 0, 0, 0, 0, 0);
        SpawnActor(u"c", 0, Record, 0, 0, 0, 0, 0, 0);
        s_Victim = c.victim != nullptr ? FindActorByName(c.victim) : nullptr;
        EXPECT_EQ(Frame(), c.first);
        // The victim is gone; b's own removal waits for its flag to be purged.
        s_Victim = nullptr;
        FindActorByName(u"b") != nullptr ? (void)(FindActorByName(u"b")->m_Behaviour = Record) : (void)0;
        EXPECT_EQ(Frame(), c.second);
        EXPECT_EQ(GetActorCount(), static_cast<int>(c.second.size()));
    }
}

TEST_F(ActorTest, SpawnedActorsRunInTheSameFrameAfterTheOthers)
{
    SpawnActor(u"a", 0, SpawnOnce, 0, 0, 0, 0, 0, 0);
    SpawnActor(u"b", 0, Record, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Frame(), (Names{u"a", u"b", u"child"}));
    EXPECT_EQ(Frame(), (Names{u"a", u"b", u"child"}));

    // The last actor removing itself and spawning: the new one still runs this frame.
    Forget();
    GetGameDisplay()->m_SceneTag = 1;
    SpawnActor(u"a", 0, Record, 0, 0, 0, 0, 0, 0);
    SpawnActor(u"last", 0, [](Actor* actor) {
        RemoveSelf(actor);
        SpawnActor(u"next", 0, Record, 0, 0, 0, 0, 0, 0);
    }, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Frame(), (Names{u"a", u"last", u"next"}));
}

TEST_F(ActorTest, ClearingTheRegistryFromABehaviour)
{
    SpawnActor(u"a", 0, Record, 0, 0, 0, 0, 0, 0);
    Actor* b = SpawnActor(u"b", 0, ClearAll, 0, 0, 0, 0, 0, 0);
    SpawnActor(u"c", 0, Record, 0, 0, 0, 0, 0, 0);
    // The pass ends with the clearing: an actor spawned afterwards first runs in the next frame.
    EXPECT_EQ(Frame(), (Names{u"a", u"b"}));
    EXPECT_FALSE(IsActorRegistered(b));
    EXPECT_EQ(FindActorByName(u"a"), nullptr);
    EXPECT_EQ(GetActorCount(), 1);
    EXPECT_EQ(Frame(), (Names{u"reborn"}));
}

TEST_F(ActorTest, NamesMapToTheLastRegisteredActor)
{
    Actor* first = SpawnActor(u"twin", 0, nullptr, 0, 0, 0, 0, 0, 0);
    Actor* second = SpawnActor(u"twin", 0, nullptr, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(FindActorByName(u"twin"), second);
    EXPECT_EQ(FindActorByName(u"TWIN"), nullptr);
    RemoveActor(first);
    EXPECT_EQ(FindActorByName(u"twin"), second);
    Actor* third = SpawnActor(u"twin", 0, nullptr, 0, 0, 0, 0, 0, 0);
    RemoveActor(third);
    EXPECT_EQ(FindActorByName(u"twin"), nullptr);
    EXPECT_TRUE(IsActorRegistered(second));

    // Registered again before the purge, a removed actor lives on.
    RegisterActor(third);
    PurgeRemovedActors();
    EXPECT_EQ(FindActorByName(u"twin"), third);
    third->m_Age = 1;
    RemoveActor(third);

    // Removing twice, registering twice and null are harmless.
    RemoveActor(third);
    RemoveActor(nullptr);
    RegisterActor(second);
    RegisterActor(nullptr);
    EXPECT_EQ(GetActorCount(), 1);
    PurgeRemovedActors();
}

TEST_F(ActorTest, QueuedCardActorsMoveToTheEndOnce)
{
    SpawnActor(u"a", 0, Record, 0, 0, 0, 0, 0, 0);
    Actor* card = CreateActor(ACTOR_TYPE_CARD);
    card->SetName(u"card");
    card->m_Behaviour = Record;
    RegisterActor(card);
    Actor* plain = SpawnActor(u"plain", 0, Record, 0, 0, 0, 0, 0, 0);
    SpawnActor(u"z", 0, Record, 0, 0, 0, 0, 0, 0);
    QueueActorToFront(card);
    QueueActorToFront(plain);
    QueueActorToFront(card);
    EXPECT_EQ(Frame(), (Names{u"a", u"card", u"plain", u"z"}));
    EXPECT_EQ(Frame(), (Names{u"a", u"plain", u"z", u"card"}));

    // A card removed after being queued is not moved (nor touched).
    QueueActorToFront(card);
    RemoveActor(card);
    EXPECT_EQ(Frame(), (Names{u"a", u"plain", u"z"}));
}

TEST(OnlineLessonTest, ModesAboveTwoAreOnlineAndOneAndTwoPhysical)
{
    struct Case {
        int mode;
        bool online;
        bool physical;
    };
    const Case cases[] = {{-1, false, false}, {0, false, false}, {1, false, true},
                          {2, false, true},   {3, true, false},   {4, true, false}};
    const int previous = s_GameMode;
    for (const Case& c : cases) {
        s_GameMode = c.mode;
        EXPECT_EQ(IsOnlineLesson(), c.online) << c.mode;
        EXPECT_EQ(IsPhysicalLesson(), c.physical) << c.mode;
    }
    s_GameMode = previous;
}

} // namespace
