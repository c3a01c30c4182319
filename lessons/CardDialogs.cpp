#include "lessons/CardDialogs.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "gui/TextButton.h"
#include "lessons/CardDialogQueries.h"
#include "lessons/LessonQueries.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/CpuAttack.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"

#include <algorithm>
#include <array>

using namespace carddialog;

namespace {

// Life up to which the gain-life prompt speaks of getting back into the game; above it, of going over 20.
constexpr int GAIN_LIFE_LOW_LIFE = 16;
// The human's actor steps from the main phase into combat.
constexpr int HUMAN_STATE_COMBAT = 6;
constexpr std::uint32_t BUTTON_NORMAL = 0xFFFFFF;
constexpr std::uint32_t BUTTON_HIGHLIGHTED = 0xF8F8E0;
constexpr std::uint32_t BUTTON_PRESSED = 0x535324;

const char16_t* StringOrEmpty(const char16_t* key)
{
    const char16_t* const text = ::GetString(key);
    return text != nullptr ? text : u"";
}

std::u16string Decimal(int value)
{
    return IntToWString(value);
}

// The basic game's plain creatures, and which of them count as powerful or tough.
constexpr std::array<int, 14> PLAIN_CREATURES = {CD_MAVOLNEL, CD_WENUNMEL, CD_JORISMAR, CD_KAVORVIN, CD_VEKAKDRE,
                                                 CD_ZOLORSAR, CD_SELOLBER, CD_ISTUMRIC, CD_MAVUNTH,  CD_ROSORWYN,
                                                 CD_TAVEVSAR, CD_ZOLENRIK, CD_DRAAKNEL, CD_BRAANDRE};
constexpr std::array<int, 4> POWERFUL_CREATURES = {CD_VEKAKDRE, CD_ZOLORSAR, CD_ZOLENRIK, CD_BRAANDRE};
constexpr std::array<int, 2> TOUGH_CREATURES = {CD_MAVUNTH, CD_DRAAKNEL};
constexpr int PLAIN_WORDS = 3;
constexpr int POWERFUL_WORDS = 1;
constexpr int TOUGH_WORDS = 1;

template <std::size_t N>
bool Contains(const std::array<int, N>& ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

// ---- First appearance, Lumotton ------------------------------------------------------------------------------

FirstAppearanceDialog::FirstAppearanceDialog(int cardId, int owner, const char16_t* key, std::span<const int> links)
    : CardSpecificDialog(cardId, owner, key, links, 1)
{
    CreateButtons(0);
}

bool FirstAppearanceDialog::TestEvent(int event, Actor* card)
{
    const CardActor* const seen = AsEventCard(card);
    return event == EV_CARD_FIRST_SEEN && seen != nullptr && seen->GetId() == m_CardId && IsOwnedBy(seen, m_Owner);
}

PlayedLumottonDialog::PlayedLumottonDialog() : CardSpecificDialog(CD_LUMOTTON, -1, nullptr, {}, 1)
{
    AddLinks({0, 3});
    CreateButtons(0);
}

bool PlayedLumottonDialog::TestEvent(int event, Actor* card)
{
    const CardActor* const played = AsEventCard(card);
    if (event != EV_CARD_PLAYED || played == nullptr || played->GetId() != CD_LUMOTTON)
        return false;
    const bool own = played->GetOwner() == 0;
    ReplaceText(StringOrEmpty(own ? u"PHYSDLG_CARDSPECIFIC_LUMOTTON1" : u"PHYSDLG_CARDSPECIFIC_LUMOTTON2"));
    ReplaceVoice(own ? u"vo_phys\\adv_cardspecific_lumotton.wav" : u"vo_phys\\adv_cardspecific_lumotton_opp.wav");
    AutoSize();
    return true;
}

// ---- Could play a card ---------------------------------------------------------------------------------------

CanPlayCardDialog::CanPlayCardDialog(int cardId, int owner, const char16_t* key, std::span<const int> links,
                                     int limit)
    : CardSpecificDialog(cardId, owner, nullptr, links, limit)
{
    if (key != nullptr && cardId >= 0 && cardId < CD_NUMBER_OF_CARD_DEFS)
        ReplaceText(FormatCardText(key));
    CreateButtons(0);
}

std::u16string CanPlayCardDialog::FormatCardText(const char16_t* key) const
{
    const EffectSpec& effect = *g_CardDefs[static_cast<std::size_t>(m_CardId)].GetSpellEffect();
    return FormatString(StringOrEmpty(key), {GetCardName(m_CardId), Decimal(effect.damageAmt),
                                             Decimal(effect.modLifeAmt), Decimal(effect.discardAmt),
                                             Decimal(effect.drawAmt)});
}

bool CanPlayCardDialog::ClearsAtMainPhase(int event)
{
    if (event != EV_MAIN1_BEGIN && event != EV_MAIN2_BEGIN)
        return false;
    m_bFired = false;
    return true;
}

bool CanPlayCardDialog::IsPlayableAgain() const
{
    return !m_bFired && CanPlayCardNow(FindInHand(m_CardId, m_Owner), false);
}

bool CanPlayCardDialog::TestEvent(int event, Actor* /*card*/)
{
    if (ClearsAtMainPhase(event) || event != EV_MAIN2_CHECK || !IsPlayableAgain())
        return false;
    m_bFired = true;
    return true;
}

bool CanPlayCardDialog::TestCardEvent(int event, Actor* card)
{
    const CardActor* const used = AsEventCard(card);
    if (event < EV_CARD_PLAYED || event > EV_ABILITY_ACTIVATION || used == nullptr || used->GetOwner() != m_Owner)
        return false;
    if (GetGameDisplay()->IsWindowRegistered(this))
        return used->GetCardType() != CT_LAND;
    return !CanPlayCardNow(FindInHand(m_CardId, m_Owner), false);
}

CanPlayCardForWinDialog::CanPlayCardForWinDialog(int cardId, int limit)
    : CanPlayCardDialog(cardId, 0, nullptr, {}, limit)
{
}

bool CanPlayCardForWinDialog::TestEvent(int event, Actor* /*card*/)
{
    if (ClearsAtMainPhase(event) || (event != EV_MAIN1_CHECK && event != EV_MAIN2_CHECK) || !IsPlayableAgain())
        return false;
    const int life = GetPlayerState(PLAYER_CPU)->GetLife();
    if (life > GetSpellAmount(FindInHand(m_CardId, m_Owner)))
        return false;
    ReplaceText(FormatString(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_PLAYCARDFORWIN"),
                             {Decimal(life), GetCardName(m_CardId)}));
    AutoSize();
    m_bFired = true;
    return true;
}

DovanricReminderDialog::DovanricReminderDialog(int limit)
    : CanPlayCardDialog(CD_DOVANRIC, 0, u"PHYSDLG_CARDSPECIFIC_DOVANRICREMINDER", {}, limit)
{
    ClearButtons();
    for (const char16_t* const key : {u"PHYSDLG_BUTTON_CARDSPECIFIC_DOVANRICREMINDER_Play",
                                      u"PHYSDLG_BUTTON_CARDSPECIFIC_DOVANRICREMINDER_Attack"})
        AddButton(StringOrEmpty(key), BUTTON_NORMAL, BUTTON_HIGHLIGHTED, BUTTON_PRESSED, MESSAGEBOX_BUTTON_FONT, -1,
                  -1);
    MakeButtonsSameWidth();
    Layout(3, 5);
}

bool DovanricReminderDialog::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_GO_TO_COMBAT)
        return false;
    CardActor* const dovanric = FindInHand(m_CardId, m_Owner);
    return CanPlayCardNow(dovanric, true) && CountAbleAttackers(PLAYER_HUMAN) >= 1 &&
           HasKillableTarget(dovanric, true, true);
}

bool DovanricReminderDialog::HandleInput(const GUI_InputEvent& event)
{
    const int before = GetAnswer();
    const bool handled = CanPlayCardDialog::HandleInput(event);
    if (before != 1 && GetAnswer() == 1) {
        if (Actor* const human = FindActorByName(u"player"))
            human->SetState(HUMAN_STATE_COMBAT);
    }
    return handled;
}

CanPlayCardToKillWoundedCreatureDialog::CanPlayCardToKillWoundedCreatureDialog(int cardId, int targetId, int limit)
    : CanPlayCardDialog(cardId, 0, nullptr, {}, limit), m_TargetId(targetId)
{
}

bool CanPlayCardToKillWoundedCreatureDialog::TestEvent(int event, Actor* /*card*/)
{
    if (ClearsAtMainPhase(event) || (event != EV_MAIN1_CHECK && event != EV_MAIN2_CHECK) || !IsPlayableAgain())
        return false;
    const int amount = GetSpellAmount(FindInHand(m_CardId, m_Owner));
    const CardActor* target = nullptr;
    for (const CardActor* c = FindKillableCreature(false, amount, PLAYER_CPU, nullptr, true); c != nullptr;
         c = FindKillableCreature(false, amount, PLAYER_CPU, c, true)) {
        if (c->GetId() == m_TargetId) {
            target = c;
            break;
        }
    }
    if (target == nullptr)
        return false;
    ReplaceText(FormatString(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_PLAYCARDTOKILLWOUNDEDCREATURE"),
                             {target->GetNameField(), Decimal(target->GetStats().toughness), GetCardName(m_CardId)}));
    AutoSize();
    m_bFired = true;
    return true;
}

CanPlayCardToGainLifeDialog::CanPlayCardToGainLifeDialog(int cardId, int owner, const char16_t* key1,
                                                         const char16_t* key2, std::span<const int> links, int limit)
    : CanPlayCardDialog(cardId, owner, key1, links, limit), m_Key1(key1), m_Key2(key2)
{
}

bool CanPlayCardToGainLifeDialog::TestEvent(int event, Actor* card)
{
    if (!CanPlayCardDialog::TestEvent(event, card))
        return false;
    const bool low = GetPlayerState(m_Owner)->GetLife() <= GAIN_LIFE_LOW_LIFE;
    ReplaceText(FormatCardText((low ? m_Key1 : m_Key2).c_str()));
    AutoSize();
    return true;
}

CanPlayCardToDiscardCardsDialog::CanPlayCardToDiscardCardsDialog(int cardId, int owner, const char16_t* key1,
                                                                 const char16_t* key2, std::span<const int> links,
                                                                 int limit)
    : CanPlayCardDialog(cardId, owner, key1, links, limit), m_Key1(key1), m_Key2(key2)
{
}

bool CanPlayCardToDiscardCardsDialog::TestEvent(int event, Actor* card)
{
    // Fired even when the CPU has nothing to discard: the prompt stays quiet for the rest of the phase.
    if (!CanPlayCardDialog::TestEvent(event, card))
        return false;
    const int cards = CountCpuHandCards();
    if (cards < 1)
        return false;
    ReplaceText(FormatCardText((cards == 1 ? m_Key2 : m_Key1).c_str()));
    AutoSize();
    return true;
}

// ---- Flyers, plain creatures ---------------------------------------------------------------------------------

FlyingBlockDialog::FlyingBlockDialog(int owner, int limit)
    : CardSpecificDialog(0, owner, owner == 0 ? u"PHYSDLG_CARDSPECIFIC_FLYINGBLOCK1" : u"PHYSDLG_CARDSPECIFIC_FLYINGBLOCK2",
                         {}, limit)
{
    SetVoice(owner == 0 ? u"vo_phys\\CardSpecific_FlyingBlock1.wav" : u"vo_phys\\CardSpecific_FlyingBlock2.wav", u"");
    CreateButtons(0);
}

bool FlyingBlockDialog::TestEvent(int event, Actor* /*card*/)
{
    if (event != (m_Owner == 0 ? EV_HUMAN_ATTACKER_DECLARED : EV_CPU_ATTACKS) || CountAttackingFlyers(m_Owner) < 1)
        return false;
    for (const CardActor* const card : GetCardActors()) {
        if (card->GetOwner() == (m_Owner ^ 1) && !card->GetStats().flying && IsAbleToBlock(card))
            return true;
    }
    return false;
}

BasicCreaturePlayedDialog::BasicCreaturePlayedDialog() : CardSpecificDialog(0, 0, nullptr, {}, -1)
{
    CreateButtons(0);
}

bool BasicCreaturePlayedDialog::TestEvent(int event, Actor* card)
{
    const CardActor* const played = AsEventCard(card);
    if (event != EV_CARD_PLAYED || played == nullptr || played->GetOwner() != 0 || !played->IsNotLeaving())
        return false;
    const int id = played->GetId();
    if (!Contains(PLAIN_CREATURES, id))
        return false;
    ++m_PlainCount;
    const bool powerful = Contains(POWERFUL_CREATURES, id);
    const bool tough = Contains(TOUGH_CREATURES, id);
    if (powerful)
        ++m_PowerfulCount;
    if (tough)
        ++m_ToughCount;
    const char16_t* const idName = GetCardIdName(id);
    if (idName == nullptr)
        return false;

    std::u16string key = std::u16string(u"PRE_PHYSDLG_BASIC_CASTSPELL_") + idName;
    const char16_t* voice = nullptr;
    if (id == CD_TAVEVSAR) {
        const bool first = m_PlainCount < 4;
        key += first ? u"1" : u"2";
        voice = first ? u"vo_phys\\basic_CastSpell_Tavevsar.wav" : u"vo_phys\\basic_CastSpell_Tavevsar_alt.wav";
    } else if (id == CD_ZOLENRIK) {
        const bool first = m_PowerfulCount < 2;
        key += first ? u"1" : u"2";
        voice = first ? u"vo_phys\\basic_CastSpell_Zolenrik.wav" : u"vo_phys\\basic_CastSpell_Zolenrik_alt.wav";
    } else if (powerful) {
        if (m_PowerfulCount > POWERFUL_WORDS)
            return false;
        voice = u"vo_phys\\basic_CastSpell_Powerful.wav";
    } else if (tough) {
        if (m_ToughCount > TOUGH_WORDS)
            return false;
        voice = u"vo_phys\\basic_CastSpell_Tough.wav";
    } else {
        if (m_PlainCount > PLAIN_WORDS)
            return false;
        voice = u"vo_phys\\basic_CastSpell_Vanilla.wav";
    }
    const char16_t* const text = ::GetString(key);
    if (text == nullptr)
        return false;
    ReplaceText(text);
    ReplaceVoice(voice);
    AutoSize();
    return true;
}
