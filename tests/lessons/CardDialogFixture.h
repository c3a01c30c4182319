// A lesson table for the card-specific dialogs: both player actors (the human in its main phase), every text key
// of the dialogs entered as "KEY %0|%1|%2|%3|%4" so that a test reads which text a dialog took and with which
// values, and small boards built from the synthetic cards with a few definitions made real.
#pragma once

#include "tests/lessons/LessonFixture.h"

#include "cards/CardIds.h"
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "engine/sound/HintRegistry.h"
#include "engine/sound/VoiceQueue.h"
#include "gamestate/OnlineTurnState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/LessonState.h"
#include "gamestate/TurnFlags.h"
#include "gui/CardSpecificDialog.h"
#include "gui/DialogManager.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"
#include "rules/ManaPool.h"

#include <string>

namespace lessontest {

class CardDialogTest : public LessonTest {
protected:
    void SetUp() override
    {
        LessonTest::SetUp();
        SetMode(2);
        m_human = SpawnActor(u"player", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_cpu = SpawnActor(u"cpuplayer", 0, nullptr, 0, 0, 0, 0, 0, 0);
        m_human->SetState(5);
        SetPlayerActors(m_human, m_cpu);
        HandTurnTo(0);
        s_PastCombat = false;
        s_AttackStep = 0;
        s_CpuBlockStep = 0;
        s_HumanBlockStep = 0;
        for (const char16_t* const key : KEYS)
            AddString(key, std::u16string(key) + u" %0|%1|%2|%3|%4");
        AddString(u"STR_OK", u"OK");
        for (const char16_t* const key : LINK_KEYS)
            AddString(key, std::u16string(key));
        ResetExplanationLinksVisited();
        ClearHintPlayCounts();
        DestroyAllDialogs();
        // The boxes are kept inside the screen.
        m_savedScreen = s_ScreenRect;
        s_ScreenRect = RasterRect{0, 0, 800, 600};
        // The advice position is worked out again for this table.
        GetGameDisplay()->m_LastLessonBoxX = -1;
        GetGameDisplay()->m_LastLessonBoxY = -1;
    }
    void TearDown() override
    {
        DestroyAllDialogs();
        StopVoiceQueue();
        ClearHintPlayCounts();
        ClearStringTables();
        SetPlayerActors(nullptr, nullptr);
        SetCanPlayNowFlag(0);
        s_PastCombat = false;
        s_ScreenRect = m_savedScreen;
        LessonTest::TearDown();
    }

    static CARD& Def(int id) { return g_CardDefs[static_cast<std::size_t>(id)]; }

    // A red spell of that type dealing damage to a target creature (or with another effect and amount).
    static CARD& Spell(int id, int type, int amount, int effect = EFFECT_DAMAGE)
    {
        CARD& card = Def(id);
        card.m_CardType = type;
        card.m_Cost = ManaCost(0, 1, 0, 0, 0, 0);
        card.m_Stats = CreatureStats();
        card.m_SpellEffect = EffectSpec();
        card.m_SpellEffect.effectType = effect;
        card.m_SpellEffect.damageAmt = effect == EFFECT_DAMAGE ? amount : 0;
        card.m_SpellEffect.drainLifeAmt = effect == EFFECT_DRAINLIFE ? amount : 0;
        card.m_SpellEffect.needsTarget = effect == EFFECT_DAMAGE;
        card.m_SpellTarget = TargetSpec();
        card.m_SpellTarget.type = TT_CREATURE;
        return card;
    }
    // A creature of that id with the given strength, costing one of the colour counter (1 red ... 5 white).
    static CARD& Creature(int id, int power, int toughness, int colour = 1)
    {
        CARD& card = Def(id);
        card.m_CardType = CT_CREATURE;
        card.m_Cost = ManaCost();
        card.m_Cost.At(colour) = 1;
        card.m_Stats = CreatureStats();
        card.m_Stats.power = power;
        card.m_Stats.toughness = toughness;
        return card;
    }
    // A pump ability (no tap) costing one mana of the colour counter.
    static void GivePump(int id, int colour)
    {
        CardAbility& ability = Def(id).m_Ability;
        ability = CardAbility();
        ability.costType = COSTTYPE_NOTAP;
        ability.cost.At(colour) = 1;
        ability.effect.effectType = EFFECT_PTMOD_MANAPUMP;
        ability.effect.powerModAmt = 1;
        ability.effect.toughModAmt = 1;
    }

    // Lands on the owner's table: Mountains give red, Forests green, Swamps black (ids 1, 13, 17).
    static void Lands(int owner, int id, int count)
    {
        for (int i = 0; i < count; ++i)
            Card(id, owner);
        RecountMana();
    }
    static void RecountMana()
    {
        UpdateHumanAvailableMana();
        UpdateCpuAvailableMana();
    }

    // The key a dialog's text was made from: its first word.
    static std::u16string KeyOf(const CardSpecificDialog& dialog)
    {
        const std::u16string& text = dialog.GetText();
        return text.substr(0, text.find(u' '));
    }
    // What the text's placeholders became.
    static std::u16string ValuesOf(const CardSpecificDialog& dialog)
    {
        const std::u16string& text = dialog.GetText();
        const std::size_t space = text.find(u' ');
        return space == std::u16string::npos ? u"" : text.substr(space + 1);
    }
    static std::vector<int> LinksOf(const CardSpecificDialog& dialog)
    {
        std::vector<int> links;
        for (int i = 0; i < dialog.GetExtraWindowCount(); ++i)
            links.push_back(dialog.GetExtraWindow(i)->GetTag());
        return links;
    }

    static constexpr const char16_t* KEYS[] = {
        u"PHYSDLG_CARDSPECIFIC_PLAYCARDFORWIN",
        u"PHYSDLG_CARDSPECIFIC_DOVANRICREMINDER",
        u"PHYSDLG_BUTTON_CARDSPECIFIC_DOVANRICREMINDER_Play",
        u"PHYSDLG_BUTTON_CARDSPECIFIC_DOVANRICREMINDER_Attack",
        u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOKILLWOUNDEDCREATURE",
        u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOSTEALLIFE",
        u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODEALDAMAGE",
        u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE",
        u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOGAINLIFE_OVER20",
        u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODISCARDCARDS",
        u"PHYSDLG_CARDSPECIFIC_PLAYCARDTODISCARDLASTCARD",
        u"PHYSDLG_CARDSPECIFIC_TAVENGAST",
        u"PHYSDLG_CARDSPECIFIC_NESISMAR1",
        u"PHYSDLG_CARDSPECIFIC_NESISMAR2",
        u"PHYSDLG_CARDSPECIFIC_LUMOTTON1",
        u"PHYSDLG_CARDSPECIFIC_LUMOTTON2",
        u"PHYSDLG_CARDSPECIFIC_FLYINGBLOCK1",
        u"PHYSDLG_CARDSPECIFIC_FLYINGBLOCK2",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_MAVOLNEL",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_WENUNMEL",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_JORISMAR",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_KAVORVIN",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_VEKAKDRE",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_ZOLORSAR",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_MAVUNTH",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_DRAAKNEL",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_TAVEVSAR1",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_TAVEVSAR2",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_ZOLENRIK1",
        u"PRE_PHYSDLG_BASIC_CASTSPELL_CD_ZOLENRIK2",
        u"PHYSDLG_CARDSPECIFIC_CELISBERPROMPT",
        u"PHYSDLG_CARDSPECIFIC_TOREDBERPROMPT",
        u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT",
        u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT_MoreThanOnce",
        u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT_Responding",
        u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT_MoreThanOnce_Responding",
        u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPT2",
        u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPT2_MoreThanOnce",
        u"PHYSDLG_CARDSPECIFIC_SELEVMARPROMPT",
        u"PHYSDLG_CARDSPECIFIC_KELOLVINPROMPT",
        u"PHYSDLG_CARDSPECIFIC_PRAILGASTPROMPT1",
        u"PHYSDLG_CARDSPECIFIC_PRAILGASTPROMPT2",
        u"PHYSDLG_CARDSPECIFIC_PRAILGASTPROMPT2_Responding",
        u"PHYSDLG_CARDSPECIFIC_HOSURBERPROMPT",
        u"PHYSDLG_CARDSPECIFIC_FALARSARPROMPT",
        u"PHYSDLG_CARDSPECIFIC_SAVOTNELPROMPT1",
        u"PHYSDLG_CARDSPECIFIC_SAVOTNELPROMPT2",
        u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPTYESWIN",
        u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPT1",
        u"PHYSDLG_CARDSPECIFIC_NESISMARPROMPTYESWIN",
        u"PHYSDLG_CARDSPECIFIC_ACTIVATINGNESISMAR",
        u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT1",
        u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT2",
        u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT2_Responding",
        u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT3",
        u"PHYSDLG_CARDSPECIFIC_RALEVTHPROMPT",
        u"PHYSDLG_CARDSPECIFIC_RALEVTHPROMPT_Responding",
    };
    static constexpr const char16_t* LINK_KEYS[] = {
        u"PHYSEXPL_LINK_ENCHANTMENT", u"PHYSEXPL_LINK_CREATUREENCHANTMENT", u"PHYSEXPL_LINK_ACTIVATEDABILITY",
        u"PHYSEXPL_LINK_FLYING",      u"PHYSEXPL_LINK_INSTANT",             u"PHYSEXPL_LINK_RESPOND",
        u"PHYSEXPL_LINK_REGENERATION", u"PHYSEXPL_LINK_ARTIFACT",
    };

    RasterRect m_savedScreen;
    Actor* m_human = nullptr;
    Actor* m_cpu = nullptr;
};

} // namespace lessontest
