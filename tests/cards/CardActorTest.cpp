#include "cards/CardActor.h"

#include "cards/Card.h"
#include "engine/scene/ScriptParser.h"

#include "cards/TableInput.h"
#include "engine/scene/FrameState.h"
#include "lessons/PhysicalLesson.h"
#include "platform/Headless.h"
#include "rules/PendingCards.h"
#include "rules/PlayerState.h"
#include "tests/engine/sound/SoundFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int SLOT_REGENERATE = 80;

// Card definitions built in the test, one per case; actors bound to them and owned by the test.
class CardActorTest : public test::SoundFixture {
protected:
    void SetUp() override
    {
        SoundFixture::SetUp();
        s_GameMode = 1;
        ResetRecords();
    }

    void TearDown() override
    {
        ResetRecords();
        s_GameMode = 0;
        SoundFixture::TearDown();
    }

    static void ResetRecords()
    {
        ClearPendingCards();
        SetDraggedCard(nullptr);
        g_CounteredCard = nullptr;
        for (int player = 0; player < 2; ++player)
            *GetPlayerState(player) = PlayerState();
    }

    CARD& Define(int type, int power = 0, int toughness = 0)
    {
        auto card = std::make_unique<CARD>();
        card->m_Id = static_cast<int>(m_cards.size()) + 21;
        card->m_CardType = type;
        card->m_Stats.power = power;
        card->m_Stats.toughness = toughness;
        m_cards.push_back(std::move(card));
        return *m_cards.back();
    }

    CARD& Aura(int abilityEffect = EFFECT_NONE, int power = 0, int toughness = 0)
    {
        CARD& aura = Define(CT_ENCHANT);
        aura.m_SpellEffect.effectType = EFFECT_ENCHANT;
        aura.m_SpellEffect.duration = DURATION_PERMANENT;
        aura.m_Ability.effect.effectType = abilityEffect;
        aura.m_Ability.effect.duration = DURATION_PERMANENT;
        aura.m_Ability.effect.powerModAmt = power;
        aura.m_Ability.effect.toughModAmt = toughness;
        return aura;
    }

    // A card on the table of the owner, played and untapped.
    CardActor& OnTable(const CARD& card, int owner = PLAYER_HUMAN)
    {
        auto actor = std::make_unique<CardActor>();
        actor->SetCard(&card);
        actor->SetOwner(owner);
        actor->SetOwnerRecord(GetPlayerState(owner));
        actor->SetInLibrary(false);
        actor->SetTapState(TAP_READY);
        actor->SetPlayedMark(1);
        m_actors.push_back(std::move(actor));
        return *m_actors.back();
    }

    std::vector<std::unique_ptr<CARD>> m_cards;
    std::vector<std::unique_ptr<CardActor>> m_actors;
};

TEST_F(CardActorTest, CreateActorOfTypeOneIsAnUnboundCardThatAnswersZero)
{
    const std::unique_ptr<Actor> actor(CreateActor(ACTOR_TYPE_CARD));
    ASSERT_NE(actor, nullptr);
    const CardActor* const card = AsCardActor(actor.get());
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->GetId(), 0);
    EXPECT_EQ(card->GetNameField(), nullptr);
    EXPECT_TRUE(card->GetText().empty());
    EXPECT_EQ(*card->GetAbility(), CardAbility());
    EXPECT_EQ(card->GetCreatureStats()->toughness, 0);
    EXPECT_TRUE(card->IsInLibrary());
    EXPECT_EQ(card->GetTapState(), TAP_OFF_TABLE);
    EXPECT_EQ(card->GetSortKey(), SORT_KEY_LAST);
    EXPECT_EQ(card->GetStackIndex(), -1);
    EXPECT_EQ(card->m_GenericOwed, -1);
    EXPECT_EQ(card->CountBlockers(), 0);
    const std::unique_ptr<Actor> plain(CreateActor(ACTOR_TYPE_PLAIN));
    EXPECT_EQ(AsCardActor(plain.get()), nullptr);
}

TEST_F(CardActorTest, ResolveDamageAndLeavePlayCases)
{
    struct Case {
        const char* name;
        int owner;
        int damage, shields, toughness;
        bool regenShield, noRegen;
        int reason;  // -1: ResolveDamage
        bool result;
        int exitMove;
        int graveyard;  // owner's graveyard count afterwards
        int pending;
        bool sound;
        int damageAfter, shieldsAfter;
    };
    const Case cases[] = {
        {"shields absorb, stays", 0, 3, 2, 2, false, false, -1, true, 0, 0, 0, false, 1, 0},
        {"lethal after shields", 1, 4, 2, 2, false, false, -1, false, -1, 0, 1, false, 0, 0},
        {"shields outlast damage", 0, 1, 3, 1, false, false, -1, true, 0, 0, 0, false, 0, 2},
        {"regenerates from lethal damage", 0, 5, 0, 2, true, false, -1, true, 0, 0, 0, true, 0, 0},
        {"no regeneration: shield unused", 1, 5, 0, 2, true, true, -1, false, -1, 0, 1, false, 0, 0},
        {"human destroyed goes pending", 0, 0, 0, 2, false, false, LEAVE_DESTROY, true, -1, 0, 1, false, 0, 0},
        {"human sacrifice: graveyard at once", 0, 0, 0, 2, false, false, LEAVE_SACRIFICE, true, 1, 1, 0, false, 0, 0},
        {"cpu sacrifice: pending", 1, 0, 0, 2, false, false, LEAVE_SACRIFICE, true, -1, 0, 1, false, 0, 0},
        {"human discard: graveyard", 0, 0, 0, 2, false, false, LEAVE_DISCARD, true, 1, 1, 0, false, 0, 0},
        {"sacrifice ignores the shield", 0, 0, 0, 2, true, false, LEAVE_SACRIFICE, true, 1, 1, 0, false, 0, 0},
        {"countered human card", 0, 0, 0, 2, false, false, LEAVE_COUNTERED, true, -1, 0, 1, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SoundFixture::ForgetSound();
        WriteEffect("regen.wav", test::ConstantWave({}, 1000, 100));
        ASSERT_TRUE(StartSound());
        ResetRecords();
        CardActor& card = OnTable(Define(CT_CREATURE, 2, c.toughness), c.owner);
        card.SetDamage(c.damage);
        card.SetShields(c.shields);
        card.SetRegenerationShield(c.regenShield);
        card.SetNoRegeneration(c.noRegen);
        card.SetAttacking(true);
        const bool result = c.reason < 0 ? card.ResolveDamage() : card.LeavePlay(c.reason);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(card.GetExitMove(), c.exitMove);
        EXPECT_EQ(GetPlayerState(c.owner)->m_GraveyardCount, c.graveyard);
        EXPECT_EQ(CountPendingCards(c.owner), c.pending);
        EXPECT_EQ(plat::headless::PlayingAudioBuffers() > 0, c.sound);
        EXPECT_EQ(card.GetDamage(), c.damageAfter);
        EXPECT_EQ(card.GetShields(), c.shieldsAfter);
        EXPECT_EQ(g_CounteredCard == &card, c.reason == LEAVE_COUNTERED);
        if (c.sound) {
            EXPECT_EQ(card.GetTapState(), TAP_TAPPED);
            EXPECT_FALSE(card.IsAttacking());
            EXPECT_FALSE(card.HasRegenerationShield());
        }
    }
}

TEST_F(CardActorTest, ACardLeavingIsNeverSentOutTwice)
{
    for (const int second : {LEAVE_DESTROY, LEAVE_NO_REGENERATION, LEAVE_SACRIFICE, LEAVE_DISCARD, LEAVE_COUNTERED}) {
        SCOPED_TRACE(second);
        ResetRecords();
        CardActor& card = OnTable(Define(CT_CREATURE, 1, 1));
        ASSERT_TRUE(card.LeavePlay(LEAVE_SACRIFICE));
        EXPECT_EQ(card.CanLeavePlay(second), LEAVE_NOTHING);
        EXPECT_FALSE(card.LeavePlay(second));
        EXPECT_EQ(GetPlayerState(PLAYER_HUMAN)->m_GraveyardCount, 1);
    }
    ResetRecords();
    CardActor& pending = OnTable(Define(CT_CREATURE, 1, 1), PLAYER_CPU);
    ASSERT_TRUE(pending.LeavePlay(LEAVE_DESTROY));
    EXPECT_FALSE(pending.LeavePlay(LEAVE_SACRIFICE));
    EXPECT_EQ(CountPendingCards(PLAYER_CPU), 1);
    EXPECT_EQ(GetPlayerState(PLAYER_CPU)->m_GraveyardCount, 0);
}

TEST_F(CardActorTest, AnAuraFollowsItsHostOutAndLeavesTheHostWhenItGoes)
{
    CardActor& host = OnTable(Define(CT_CREATURE, 2, 2), PLAYER_CPU);
    CardActor& aura = OnTable(Aura(EFFECT_PTMOD_STATIC, 1, 1), PLAYER_CPU);
    host.AttachCard(&aura);
    host.AttachCard(&aura);
    EXPECT_EQ(aura.GetHost(), &host);
    EXPECT_EQ(host.CountAttachedAuras(false), 1);
    EXPECT_TRUE(host.IsEnchantedBy(&aura, true));
    host.UpdatePowerToughness(false);
    EXPECT_EQ(host.GetStats().toughness, 3);

    // The host leaving backward takes the aura with it as following (reason 3): its host link stays.
    ASSERT_TRUE(host.LeavePlay(LEAVE_DESTROY));
    EXPECT_EQ(aura.GetExitMove(), -1);
    EXPECT_EQ(aura.GetHost(), &host);
    EXPECT_EQ(host.CountAttachedAuras(false), 0);
    EXPECT_EQ(CountPendingCards(PLAYER_CPU), 2);

    // An aura that goes alone leaves its host's list and the host is recomputed without it.
    ResetRecords();
    CardActor& other = OnTable(Define(CT_CREATURE, 2, 2));
    CardActor& boost = OnTable(Aura(EFFECT_PTMOD_STATIC, 0, 2));
    other.AttachCard(&boost);
    other.UpdatePowerToughness(false);
    ASSERT_EQ(other.GetStats().toughness, 4);
    ASSERT_TRUE(boost.LeavePlay(LEAVE_SACRIFICE));
    EXPECT_EQ(boost.GetHost(), nullptr);
    EXPECT_EQ(other.GetAttachment(0), nullptr);
    EXPECT_EQ(other.GetStats().toughness, 2);
}

TEST_F(CardActorTest, SortBlockersGathersFilledSlotsAndBreaksTiesByPower)
{
    struct Blocker {
        int power, toughness, damage, shields;
    };
    struct Case {
        const char* name;
        bool includeDamage, ascending;
        std::vector<int> expected;  // indexes into the blockers below
    };
    const Blocker blockers[] = {{1, 3, 0, 0}, {4, 3, 0, 0}, {2, 1, 0, 0}, {1, 5, 3, 0}, {3, 2, 0, 2}};
    const Case cases[] = {
        {"ascending by printed toughness", false, true, {2, 4, 0, 1, 3}},
        {"descending by printed toughness", false, false, {3, 1, 0, 4, 2}},
        {"ascending with damage and shields", true, true, {2, 3, 0, 1, 4}},
        {"descending with damage and shields", true, false, {4, 1, 0, 3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CardActor& attacker = OnTable(Define(CT_CREATURE, 1, 1));
        std::vector<CardActor*> actors;
        for (const Blocker& b : blockers) {
            CardActor& blocker = OnTable(Define(CT_CREATURE, b.power, b.toughness), PLAYER_CPU);
            blocker.SetDamage(b.damage);
            blocker.SetShields(b.shields);
            actors.push_back(&blocker);
        }
        // Gaps before and between the blockers.
        attacker.m_Blockers[3] = actors[0];
        attacker.m_Blockers[7] = actors[1];
        attacker.m_Blockers[8] = actors[2];
        attacker.m_Blockers[20] = actors[3];
        attacker.m_Blockers[39] = actors[4];
        attacker.SortBlockers(c.includeDamage, c.ascending);
        for (std::size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_EQ(attacker.GetBlocker(static_cast<int>(i)), actors[c.expected[i]]) << "slot " << i;
        EXPECT_EQ(attacker.CountBlockers(), 5);
        EXPECT_EQ(attacker.GetBlocker(5), nullptr);
    }
}

TEST_F(CardActorTest, BlockersAndAttachmentsIgnoreDuplicatesAndFullLists)
{
    CardActor& attacker = OnTable(Define(CT_CREATURE, 1, 1));
    CardActor& blocker = OnTable(Define(CT_CREATURE, 1, 1), PLAYER_CPU);
    attacker.AddBlocker(&blocker);
    attacker.AddBlocker(&blocker);
    EXPECT_EQ(attacker.CountBlockers(), 1);
    EXPECT_EQ(blocker.GetBlockedAttacker(), &attacker);
    attacker.RemoveBlocker(&blocker);
    EXPECT_EQ(attacker.CountBlockers(), 0);
    EXPECT_EQ(blocker.GetBlockedAttacker(), nullptr);

    const CARD& small = Define(CT_CREATURE, 1, 1);
    for (int i = 0; i < CARD_SLOT_COUNT + 1; ++i)
        attacker.AddBlocker(&OnTable(small, PLAYER_CPU));
    EXPECT_EQ(attacker.CountBlockers(), CARD_SLOT_COUNT);
    EXPECT_EQ(m_actors.back()->GetBlockedAttacker(), nullptr);
}

TEST_F(CardActorTest, UpdatePowerToughnessModifiers)
{
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);

    const auto run = [&](const char* name, CardActor& card, bool full, int power, int toughness, bool flying,
                         int exitMove = 0) {
        SCOPED_TRACE(name);
        card.UpdatePowerToughness(full);
        EXPECT_EQ(card.GetStats().power, power);
        EXPECT_EQ(card.GetStats().toughness, toughness);
        EXPECT_EQ(card.GetStats().flying, flying);
        EXPECT_EQ(card.GetExitMove(), exitMove);
    };

    human.m_CreatureBonus.power = 1;
    human.m_CreatureBonus.toughness = 1;
    human.m_CreatureBonus.flying = true;
    run("owner bonus with keywords", OnTable(Define(CT_CREATURE, 2, 2)), false, 3, 3, true);
    human = PlayerState();

    CARD& staticCard = Define(CT_CREATURE, 2, 2);
    staticCard.m_Ability.effect = {EFFECT_PTMOD_STATIC, DURATION_PERMANENT, 0, 1, 2};
    run("own static ability", OnTable(staticCard), false, 3, 4, false);

    CARD& pump = Define(CT_CREATURE, 1, 1);
    pump.m_Ability.effect = {EFFECT_PTMOD_MANAPUMP, DURATION_TURN, 0, 1, 0};
    CardActor& pumped = OnTable(pump);
    pumped.SetPumpCount(3);
    run("pumped three times", pumped, false, 4, 1, false);
    pumped.SetDamage(1);
    run("end of turn drops pumps and damage", pumped, true, 1, 1, false);
    EXPECT_EQ(pumped.GetDamage(), 0);
    EXPECT_EQ(pumped.GetPumpCount(), 0);

    CARD& growth = Define(CT_CREATURE, 0, 1);
    growth.m_Ability.effect.effectType = EFFECT_PTMOD_LANDGROWTH;
    growth.m_Ability.effect.powerModAmt = 1;
    growth.m_Ability.effect.toughModAmt = 1;
    growth.m_Ability.effect.ptModLandColor.green = 1;
    human.m_LandColours.green = 3;
    human.m_LandColours.red = 2;
    run("land growth counts green lands only", OnTable(growth), false, 3, 4, false);
    human = PlayerState();

    CARD& artifactBoost = Define(CT_ARTIFACT);
    artifactBoost.m_SpellEffect = {EFFECT_PTMOD_STATIC, DURATION_PERMANENT, 0, 2, 0};
    CardActor& withArtifact = OnTable(Define(CT_CREATURE, 1, 1));
    withArtifact.AttachCard(&OnTable(artifactBoost));
    run("non-enchantment attachment adds its spell", withArtifact, false, 3, 1, false);

    CARD& wings = Define(CT_SORCERY);
    wings.m_SpellEffect = {EFFECT_MODCREATURE, DURATION_TURN};
    wings.m_Stats.flying = true;
    CardActor& winged = OnTable(Define(CT_CREATURE, 1, 1));
    winged.AttachCard(&OnTable(wings));
    run("keyword attachment", winged, false, 1, 1, true);
    run("end of turn detaches a one-turn attachment", winged, true, 1, 1, false);
    EXPECT_EQ(winged.GetAttachment(0), nullptr);

    CARD& flier = Define(CT_CREATURE, 1, 1);
    flier.m_Ability.effect = {EFFECT_ADDFLYING, DURATION_TURN};
    CardActor& ownFlying = OnTable(flier);
    ownFlying.GetStats().flying = true;
    run("own flying kept during the turn", ownFlying, false, 1, 1, true);
    run("own flying gone at end of turn", ownFlying, true, 1, 1, false);

    CardActor& given = OnTable(Define(CT_CREATURE, 1, 1));
    given.SetFlyingUntilEndOfTurn(true);
    run("given flying kept during the turn", given, false, 1, 1, true);
    run("given flying gone at end of turn", given, true, 1, 1, false);
    EXPECT_FALSE(given.IsFlyingUntilEndOfTurn());

    CardActor& weakened = OnTable(Define(CT_CREATURE, 1, 1));
    weakened.AttachCard(&OnTable(Aura(EFFECT_PTMOD_STATIC, 0, -1)));
    // Its aura follows it out, and the recompute that follows sees a card that can no longer act.
    run("toughness 0 leaves play", weakened, false, 1, 1, false, -1);

    CardActor& held = OnTable(Define(CT_CREATURE, 2, 2));
    held.SetHeld(true);
    human.m_CreatureBonus.power = 5;
    run("a card that cannot act takes only its printed statistics", held, false, 2, 2, false);
}

TEST_F(CardActorTest, CanActAndTapStates)
{
    CardActor& creature = OnTable(Define(CT_CREATURE, 1, 1));
    EXPECT_TRUE(creature.CanAct());
    creature.SetOnStack(true);
    EXPECT_FALSE(creature.CanAct());
    creature.SetOnStack(false);
    creature.SetPlayedMark(0);
    EXPECT_FALSE(creature.CanAct());
    CardActor& land = OnTable(Define(CT_LAND));
    land.SetPlayedMark(0);
    EXPECT_TRUE(land.CanAct());
    land.SetTapState(TAP_OFF_TABLE);
    EXPECT_FALSE(land.CanAct());

    CARD& source = Define(CT_CREATURE, 1, 1);
    source.m_Ability.effect.effectType = EFFECT_PRODUCEMANA;
    CardActor& elf = OnTable(source);
    elf.SetManaReady(true);
    elf.SetTapState(TAP_TAPPED);
    EXPECT_TRUE(elf.IsManaReady());
    EXPECT_TRUE(elf.IsTappedManaSource());
    elf.SetTapState(TAP_READY);
    EXPECT_FALSE(elf.IsManaReady());
}

TEST_F(CardActorTest, ADragNeedsNoOtherDraggedCardAndEndsWithTheDrop)
{
    CardActor& first = OnTable(Define(CT_CREATURE, 1, 1));
    CardActor& second = OnTable(Define(CT_CREATURE, 1, 1));
    first.m_Position.Set(100.9f, 50.2f, 0.0f);
    first.BeginDrag(130, 70);
    EXPECT_TRUE(first.IsDragging());
    EXPECT_EQ(GetDraggedCard(), &first);
    int x = 0;
    int y = 0;
    first.GetDragOffset(x, y);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 20);
    second.BeginDrag(0, 0);
    EXPECT_FALSE(second.IsDragging());
    first.EndDrag();
    EXPECT_FALSE(first.IsDragging());
}

TEST_F(CardActorTest, FindActivatableSourceTakesTheCardOrItsAura)
{
    CARD& tapper = Define(CT_CREATURE, 1, 1);
    tapper.m_Ability.costType = COSTTYPE_TAP;
    tapper.m_Ability.effect.effectType = EFFECT_DAMAGE;
    CardActor& self = OnTable(tapper);
    CardActor* out = nullptr;
    EXPECT_EQ(self.FindActivatableSource(&out, 0), &self);
    EXPECT_EQ(out, &self);

    CARD& auraCard = Aura(EFFECT_TAP);
    auraCard.m_Ability.costType = COSTTYPE_TAP;
    CardActor& host = OnTable(Define(CT_CREATURE, 1, 1));
    CardActor& aura = OnTable(auraCard);
    host.AttachCard(&aura);
    out = nullptr;
    EXPECT_EQ(host.FindActivatableSource(&out, EFFECT_DAMAGE), nullptr);
    EXPECT_EQ(host.FindActivatableSource(&out, 0), &aura);
    EXPECT_EQ(out, &host);
    EXPECT_EQ(aura.FindActivatableSource(&out, 0), &aura);
    EXPECT_EQ(out, &host);
}

} // namespace

namespace {

// Binding a definition gives the actor the faces loadcard entered under its identifier, names folded; a card
// not loaded has no face.
TEST(CardActorFacesTest, SetCardTakesTheFacesEnteredUnderTheIdentifier)
{
    CARD loaded;
    const std::u16string_view name = u"CD_TESTBEAR";
    std::copy(name.begin(), name.end(), loaded.m_IdName.begin());
    AddTextureName(u"cd_testbear", 41);
    AddTextureName(u"CD_TESTBEAR_r", 42);
    CardActor card;
    card.SetCard(&loaded);
    EXPECT_EQ(card.m_Texture, 41);
    EXPECT_EQ(card.m_TextureRotated, 42);

    CARD missing;
    const std::u16string_view other = u"CD_NOTLOADED";
    std::copy(other.begin(), other.end(), missing.m_IdName.begin());
    card.SetCard(&missing);
    EXPECT_EQ(card.m_Texture, -1);
    EXPECT_EQ(card.m_TextureRotated, -1);
    RemoveTextureName(u"cd_testbear");
    RemoveTextureName(u"cd_testbear_r");
}

} // namespace
