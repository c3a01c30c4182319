#include "lessons/AdvancedCardPrompts.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "gamestate/TurnFlags.h"
#include "lessons/CardDialogQueries.h"
#include "lessons/LessonQueries.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/GameQueries.h"
#include "rules/PlayerState.h"
#include "rules/SpellStack.h"

#include <functional>

using namespace carddialog;

namespace {

// The mana the learner can still produce, refreshed.
ManaCost HumanAvailableMana()
{
    ManaCost mana;
    return GetAvailableMana(mana, PLAYER_HUMAN);
}

const char16_t* StringOrEmpty(const char16_t* key)
{
    const char16_t* const text = ::GetString(key);
    return text != nullptr ? text : u"";
}

// The human's first card of that id on the table that can act and passes the test.
const CardActor* FindActiveWhere(int id, const std::function<bool(const CardActor&)>& test)
{
    for (const CardActor* card = FindActive(id, PLAYER_HUMAN, nullptr); card != nullptr;
         card = FindActive(id, PLAYER_HUMAN, card)) {
        if (test(*card))
            return card;
    }
    return nullptr;
}

bool IsDoomedByDamage(const CardActor& card)
{
    return GetDoomingDamage(&card) >= card.GetStats().toughness;
}

int ResistanceOf(const CardActor& card)
{
    return card.GetStats().toughness + card.GetShields();
}

// Some blocker of the attacker that `power` plus its damage does not destroy yet, short by at most `mana`.
bool PumpWinsAgainstABlocker(const CardActor& attacker, int power, int mana)
{
    for (int slot = 0; slot < CARD_SLOT_COUNT; ++slot) {
        const CardActor* const blocker = attacker.GetBlocker(slot);
        if (blocker == nullptr)
            continue;
        const int shortBy = ResistanceOf(*blocker) - (blocker->GetDamage() + power);
        if (shortBy > 0 && shortBy <= mana)
            return true;
    }
    return false;
}

bool IsBlocked(const CardActor& attacker)
{
    return attacker.CountBlockers() > 0;
}

// The CPU's life is above what the human's attack deals, short by at most `mana`.
bool PumpWinsTheGame(int mana)
{
    const int life = GetPlayerState(PLAYER_CPU)->GetLife();
    const int power = SumAttackingPower(PLAYER_HUMAN);
    return life > power && life - power <= mana;
}

} // namespace

// ---- Celisber, Toredber --------------------------------------------------------------------------------------

CanTapCelisberToPlayCardDialog::CanTapCelisberToPlayCardDialog(int limit)
    : CanPlayCardDialog(CD_CELISBER, 0, nullptr, {}, limit)
{
}

bool CanTapCelisberToPlayCardDialog::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_MAIN1_CHECK && event != EV_MAIN2_CHECK)
        return false;
    if (FindActiveWhere(CD_CELISBER, [](const CardActor& c) { return IsUntapped(&c); }) == nullptr)
        return false;
    for (CardActor* card = FindCardActor(0, PLAYER_HUMAN, nullptr); card != nullptr;
         card = FindCardActor(0, PLAYER_HUMAN, card)) {
        if (card->IsLand() || CanAffordCard(card, false, false) || !CanAffordCard(card, false, true) ||
            !CanPlayCardNow(card, false))
            continue;
        ReplaceText(FormatString(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_CELISBERPROMPT"), {card->GetNameField()}));
        AutoSize();
        return true;
    }
    return false;
}

CanPlayToredberDialog::CanPlayToredberDialog(int limit)
    : CanPlayCardDialog(CD_TOREDBER, 0, u"PHYSDLG_CARDSPECIFIC_TOREDBERPROMPT", {}, limit)
{
}

bool CanPlayToredberDialog::TestEvent(int event, Actor* /*card*/)
{
    if (event == EV_MAIN1_BEGIN)
        m_bFired = false;
    if (event != EV_MAIN1_CHECK || !IsPlayableAgain())
        return false;
    const int pump = GetPlayerState(PLAYER_HUMAN)->m_LandColours.green;
    const std::vector<CardActor*> cards = GetCardActors();
    for (const CardActor* const attacker : cards) {
        if (attacker->GetOwner() != PLAYER_HUMAN || !IsAbleToAttack(attacker))
            continue;
        const int bits = GetCombatFlags(attacker);
        bool anyBlocker = false;
        bool killsOne = false;
        int blockersPower = 0;
        for (const CardActor* const blocker : cards) {
            if (blocker->GetOwner() != PLAYER_CPU || !CanBlockWith(blocker, bits))
                continue;
            anyBlocker = true;
            blockersPower += blocker->GetStats().power;
            killsOne = killsOne ||
                       attacker->GetStats().power + pump + blocker->GetDamage() >= blocker->GetStats().toughness;
        }
        const bool survives = attacker->GetDamage() + blockersPower < ResistanceOf(*attacker) + pump;
        if (!anyBlocker || (killsOne && survives)) {
            m_bFired = true;
            return true;
        }
    }
    return false;
}

// ---- Pump to save ---------------------------------------------------------------------------------------------

CanSavePumpingCardDialog::CanSavePumpingCardDialog(int cardId, const char16_t* key1, const char16_t* key2,
                                                   const char16_t* key3, const char16_t* key4, int limit)
    : CardSpecificDialog(cardId, 0, nullptr, {}, limit), m_Keys{key1, key2, key3, key4}
{
}

bool CanSavePumpingCardDialog::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_SPELL_CAST && event != EV_COMBAT_DAMAGE)
        return false;
    for (const CardActor* card = FindActive(m_CardId, PLAYER_HUMAN, nullptr); card != nullptr;
         card = FindActive(m_CardId, PLAYER_HUMAN, card)) {
        const int total = GetDoomingDamage(card);
        const int toughness = card->GetStats().toughness;
        if (total < toughness)
            continue;
        const int pumps = total - toughness + 1;
        ManaCost cost;
        for (int i = 0; i < pumps; ++i)
            cost.Add(card->GetAbility()->cost);
        if (!CanPay(PLAYER_HUMAN, cost, true))
            continue;
        const bool responding = IsResponding();
        const std::u16string& key = m_Keys[(responding ? 2 : 0) + (pumps > 1 ? 1 : 0)];
        ClearButtons();
        ReplaceText(FormatString(StringOrEmpty(key.c_str()), {IntToWString(total), IntToWString(pumps)}));
        CreateButtons(0);
        ClearExtraWindows();
        AddLinksAndVoice(responding);
        AutoSize();
        return true;
    }
    return false;
}

CanSaveTavengastDialog::CanSaveTavengastDialog(int limit)
    : CanSavePumpingCardDialog(CD_TAVENGAST, u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT",
                               u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT_MoreThanOnce",
                               u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT_Responding",
                               u"PHYSDLG_CARDSPECIFIC_TAVENGASTPROMPT_MoreThanOnce_Responding", limit)
{
}

void CanSaveTavengastDialog::AddLinksAndVoice(bool responding)
{
    if (responding) {
        AddLinks({2});
        ReplaceVoice(u"vo_phys\\adv_tavengast_pumptosave_resp.wav");
    } else {
        AddLinks({5, 2});
        ReplaceVoice(u"vo_phys\\adv_tavengast_pumptosave.wav");
    }
}

CanSaveBelunvinDialog::CanSaveBelunvinDialog(int limit)
    : CanSavePumpingCardDialog(CD_BELUNVIN, u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPT2",
                               u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPT2_MoreThanOnce",
                               u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPT2_Responding",
                               u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPT2_MoreThanOnce_Responding", limit)
{
}

void CanSaveBelunvinDialog::AddLinksAndVoice(bool responding)
{
    if (responding) {
        AddLinks({2});
        ReplaceVoice(u"vo_phys\\adv_belunvin_pumptosave_resp.wav");
    } else {
        AddLinks({5, 2});
        ReplaceVoice(u"vo_phys\\adv_belunvin_pumptosave.wav");
    }
}

// ---- A card in hand at its moment ----------------------------------------------------------------------------

CanPlaySelevmarDialog::CanPlaySelevmarDialog(int limit)
    : CardSpecificDialog(CD_SELEVMAR, 0, u"PHYSDLG_CARDSPECIFIC_SELEVMARPROMPT", {}, limit)
{
    AddLinks({1});
    CreateButtons(0);
}

bool CanPlaySelevmarDialog::TestEvent(int event, Actor* /*card*/)
{
    return event == EV_HUMAN_MAIN_PHASE_ENDS && IsAffordable(FindInHand(m_CardId, 0), false) &&
           CountReadyCreatures(PLAYER_CPU) > 0;
}

CanPlayKelolvinDialog::CanPlayKelolvinDialog(int limit)
    : CardSpecificDialog(CD_KELOLVIN, 0, u"PHYSDLG_CARDSPECIFIC_KELOLVINPROMPT", {}, limit)
{
    AddLinks({5});
    CreateButtons(0);
}

bool CanPlayKelolvinDialog::TestEvent(int event, Actor* /*card*/)
{
    return event == EV_CPU_ATTACKS && IsAffordable(FindInHand(m_CardId, 0), false) &&
           CountAttackingCreatures(PLAYER_CPU) > CountAbleBlockers(PLAYER_HUMAN);
}

CanPlayPrailgastDialog1::CanPlayPrailgastDialog1(int limit)
    : CardSpecificDialog(CD_PRAILGAST, 0, u"PHYSDLG_CARDSPECIFIC_PRAILGASTPROMPT1", {}, limit)
{
    AddLinks({5});
    CreateButtons(0);
}

bool CanPlayPrailgastDialog1::TestEvent(int event, Actor* /*card*/)
{
    return event == EV_CPU_END_OF_TURN && FindActiveWhere(m_CardId, [](const CardActor& c) {
                                              return IsAffordable(&c, true) && IsUntapped(&c);
                                          }) != nullptr;
}

CanPlayPrailgastDialog2::CanPlayPrailgastDialog2(int limit) : CardSpecificDialog(CD_PRAILGAST, 0, nullptr, {}, limit)
{
    CreateButtons(0);
}

bool CanPlayPrailgastDialog2::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_SPELL_CAST && event != EV_COMBAT_DAMAGE)
        return false;
    if (FindActiveWhere(m_CardId, [](const CardActor& c) {
            return IsDoomedByDamage(c) && IsAffordable(&c, true) && IsUntapped(&c);
        }) == nullptr)
        return false;
    ClearExtraWindows();
    ClearVoices();
    if (IsResponding()) {
        ReplaceText(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_PRAILGASTPROMPT2_Responding"));
        SetVoice(u"vo_phys\\adv_prailgast_lastchance_resp.wav", u"");
    } else {
        AddLinks({5});
        ReplaceText(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_PRAILGASTPROMPT2"));
        SetVoice(u"vo_phys\\adv_prailgast_lastchance.wav", u"");
    }
    AutoSize();
    return true;
}

CanPlayHosurberDialog::CanPlayHosurberDialog(int limit)
    : CardSpecificDialog(CD_HOSURBER, 0, u"PHYSDLG_CARDSPECIFIC_HOSURBERPROMPT", {}, limit)
{
    AddLinks({5});
    CreateButtons(0);
}

bool CanPlayHosurberDialog::TestEvent(int event, Actor* card)
{
    const CardActor* const played = AsEventCard(card);
    return event == EV_CARD_PLAYED && played != nullptr && played->GetOwner() != 0 &&
           played->GetCardType() == CT_CREATURE && IsAffordable(FindInHand(m_CardId, 0), false);
}

// ---- Belunvin's pump ------------------------------------------------------------------------------------------

CanPumpBelunvinDialog::CanPumpBelunvinDialog() : CardSpecificDialog(CD_BELUNVIN, 0, nullptr, {}, -1)
{
    AddLinks({5, 2});
}

bool CanPumpBelunvinDialog::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_CPU_BLOCKS_DECLARED || !s_HumanTurn)
        return false;
    const int black = HumanAvailableMana().black;
    if (black < 1)
        return false;
    for (const CardActor* card = FindActive(m_CardId, PLAYER_HUMAN, nullptr); card != nullptr;
         card = FindActive(m_CardId, PLAYER_HUMAN, card)) {
        if (!card->IsAttacking() || !IsAffordable(card, true))
            continue;
        const char16_t* key = nullptr;
        const char16_t* voice = nullptr;
        if (!m_bWinPrompted && !IsBlocked(*card)) {
            if (PumpWinsTheGame(black)) {
                key = u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPTYESWIN";
                voice = u"vo_phys\\adv_belunvin_pumptowin.wav";
                m_bWinPrompted = true;
            }
        } else if (!m_bFightPrompted && IsBlocked(*card)) {
            const int excess = SumBlockerPower(card) + card->GetDamage() - ResistanceOf(*card);
            const bool survives = excess >= 0 && excess + 1 <= black;
            if (survives || PumpWinsAgainstABlocker(*card, card->GetStats().power, black)) {
                key = u"PHYSDLG_CARDSPECIFIC_BELUNVINPROMPT1";
                voice = u"vo_phys\\adv_belunvin_pumpfordamage.wav";
                m_bFightPrompted = true;
            }
        }
        if (key == nullptr)
            continue;
        ClearButtons();
        ReplaceText(StringOrEmpty(key));
        CreateButtons(0);
        ReplaceVoice(voice);
        AutoSize();
        return true;
    }
    return false;
}

// ---- End of the CPU's turn ------------------------------------------------------------------------------------

CanPlayCardAtEndOfCPUTurnDialog::CanPlayCardAtEndOfCPUTurnDialog(int cardId, const char16_t* key, int limit)
    : CardSpecificDialog(cardId, 0, key, {}, limit)
{
    AddLinks({5});
    CreateButtons(0);
}

bool CanPlayCardAtEndOfCPUTurnDialog::TestEvent(int event, Actor* /*card*/)
{
    const CardActor* const card = FindInHand(m_CardId, 0);
    return event == EV_CPU_END_OF_TURN && IsAffordable(card, false) && IsInstantUsefulNow(card, false, true);
}

CanPlaySavotnelDialog::CanPlaySavotnelDialog() : CanPlayCardAtEndOfCPUTurnDialog(CD_SAVOTNEL, nullptr, -1)
{
}

bool CanPlaySavotnelDialog::TestEvent(int event, Actor* card)
{
    if (!CanPlayCardAtEndOfCPUTurnDialog::TestEvent(event, card))
        return false;
    const CardActor* const savotnel = FindInHand(m_CardId, 0);
    const char16_t* key = nullptr;
    const char16_t* voice = nullptr;
    if (!m_bWoundedPrompted && HasWoundedKillableCpuCreature(GetSpellAmount(savotnel))) {
        key = u"PHYSDLG_CARDSPECIFIC_SAVOTNELPROMPT2";
        voice = u"vo_phys\\adv_couldplay_savotnel_wounded.wav";
        m_bWoundedPrompted = true;
    } else if (!m_bBlockerPrompted && HasKillableTarget(savotnel, true, true)) {
        key = u"PHYSDLG_CARDSPECIFIC_SAVOTNELPROMPT1";
        voice = u"vo_phys\\adv_couldplay_savotnel.wav";
        m_bBlockerPrompted = true;
    }
    // Neither prompt applies: an empty box would be shown.
    if (key == nullptr)
        return false;
    ClearButtons();
    ReplaceText(StringOrEmpty(key));
    CreateButtons(0);
    ReplaceVoice(voice);
    AutoSize();
    return true;
}

// ---- Nesismar -------------------------------------------------------------------------------------------------

CanActivateNesismarDialog::CanActivateNesismarDialog() : CardSpecificDialog(CD_NESISMAR, 0, nullptr, {}, -1)
{
}

void CanActivateNesismarDialog::ShowDamagePrompt(const CardActor& host)
{
    Reset();
    ReplaceText(FormatString(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_ACTIVATINGNESISMAR"), {host.GetNameField()}));
    CreateButtons(0);
    AddLinks({5});
    ReplaceVoice(u"vo_phys\\adv_nesismar_pumpfordamage.wav");
    AutoSize();
}

bool CanActivateNesismarDialog::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_CPU_BLOCKS_DECLARED || !s_HumanTurn)
        return false;
    const int red = HumanAvailableMana().red;
    if (red < 1)
        return false;
    for (const CardActor* card = FindActive(m_CardId, PLAYER_HUMAN, nullptr); card != nullptr;
         card = FindActive(m_CardId, PLAYER_HUMAN, card)) {
        const CardActor* const host = card->GetHost();
        if (host == nullptr || !host->IsAttacking() || !IsAffordable(card, true))
            continue;
        const bool blocked = IsBlocked(*host);
        if (!m_bWinPrompted && !blocked && PumpWinsTheGame(red)) {
            Reset();
            ReplaceText(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_NESISMARPROMPTYESWIN"));
            CreateButtons(0);
            AddLinks({5, 2, 1});
            ReplaceVoice(u"vo_phys\\adv_nesismar_pumptowin.wav");
            AutoSize();
            m_bWinPrompted = true;
            return true;
        }
        if (!m_bDamagePrompted && !blocked) {
            ShowDamagePrompt(*host);
            m_bDamagePrompted = true;
            return true;
        }
        if (!m_bFightPrompted && blocked && PumpWinsAgainstABlocker(*host, host->GetStats().power, red)) {
            ShowDamagePrompt(*host);
            m_bFightPrompted = true;
            return true;
        }
    }
    return false;
}

// ---- Draisnel, Ralevth ----------------------------------------------------------------------------------------

CanActivateDraisnelDialog1::CanActivateDraisnelDialog1(int limit)
    : CardSpecificDialog(CD_DRAISNEL, 0, nullptr, {}, limit)
{
}

bool CanActivateDraisnelDialog1::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_CPU_END_OF_TURN ||
        FindActiveWhere(m_CardId, [](const CardActor& c) { return IsUntapped(&c) && IsAffordable(&c, true); }) ==
            nullptr)
        return false;
    Reset();
    ReplaceText(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT1"));
    AddLinks({5});
    CreateButtons(0);
    AutoSize();
    return true;
}

CanActivateDraisnelDialog2::CanActivateDraisnelDialog2(int limit)
    : CardSpecificDialog(CD_DRAISNEL, 0, nullptr, {}, limit)
{
}

bool CanActivateDraisnelDialog2::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_SPELL_CAST || FindActiveWhere(m_CardId, [](const CardActor& c) {
                                      return IsUntapped(&c) && GetSpellStack().FindEntry(nullptr, &c) != nullptr &&
                                             IsAffordable(&c, true);
                                  }) == nullptr)
        return false;
    Reset();
    ClearVoices();
    if (IsResponding()) {
        AddLinks({4});
        ReplaceText(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT2_Responding"));
        SetVoice(u"vo_phys\\adv_draisnel_lastchance_resp.wav", u"");
    } else {
        AddLinks({4, 5});
        ReplaceText(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT2"));
        SetVoice(u"vo_phys\\adv_draisnel_lastchance.wav", u"");
    }
    CreateButtons(0);
    AutoSize();
    return true;
}

CanActivateDraisnelDialog3::CanActivateDraisnelDialog3(int limit)
    : CardSpecificDialog(CD_DRAISNEL, 0, nullptr, {}, limit)
{
}

bool CanActivateDraisnelDialog3::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_CPU_END_OF_TURN || FindActiveWhere(m_CardId, [](const CardActor& c) {
                                           return IsUntapped(&c) && IsAffordable(&c, true) &&
                                                  HasWoundedKillableCpuCreature(GetAbilityAmount(&c));
                                       }) == nullptr)
        return false;
    Reset();
    ReplaceText(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_DRAISNELPROMPT3"));
    AddLinks({5});
    CreateButtons(0);
    AutoSize();
    return true;
}

CanActivateRalevthDialog::CanActivateRalevthDialog(int limit) : CardSpecificDialog(CD_RALEVTH, 0, nullptr, {}, limit)
{
}

bool CanActivateRalevthDialog::TestEvent(int event, Actor* /*card*/)
{
    if (event != EV_SPELL_CAST && event != EV_COMBAT_DAMAGE)
        return false;
    const auto doomed = [](const CardActor& c) {
        return IsDoomedByDamage(c) || FindStackEntryForCard(&c, CD_FALARSAR) != nullptr ||
               FindStackEntryForCard(&c, CD_KELOLVIN) != nullptr || FindStackEntryForCard(&c, CD_WENARWYN) != nullptr;
    };
    if (FindActiveWhere(m_CardId, [&](const CardActor& c) { return IsAffordable(&c, true) && doomed(c); }) == nullptr)
        return false;
    Reset();
    ClearVoices();
    if (IsResponding()) {
        ReplaceText(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_RALEVTHPROMPT_Responding"));
        AddLinks({5});
        SetVoice(u"vo_phys\\adv_ralevth_lastchance_resp.wav", u"");
    } else {
        ReplaceText(StringOrEmpty(u"PHYSDLG_CARDSPECIFIC_RALEVTHPROMPT"));
        AddLinks({4, 5});
        SetVoice(u"vo_phys\\adv_ralevth_lastchance.wav", u"");
    }
    CreateButtons(0);
    AutoSize();
    return true;
}
