#include "rules/ManaPool.h"

#include "cards/LifeToken.h"
#include "cards/CardActor.h"
#include "engine/core/StringTable.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/Wave.h"
#include "rules/BoardQueries.h"
#include "rules/HumanPayment.h"
#include "rules/PlayerState.h"

#include <algorithm>

namespace {

PaymentState s_Payment;
ManaCost s_Available[2];

void UpdateAvailableMana(int player, bool forCpu)
{
    PlayerState* const record = GetPlayerState(player);
    ManaCost& available = s_Available[player];
    available.Clear();
    record->m_LandColours.Clear();
    for (const CardActor* const card : GetCardActors()) {
        // Only sources the CPU's payers tap count for it, so it never plans with mana it cannot pay.
        if (card->GetOwner() != player || !card->CanAct() || !IsManaSource(*card, false))
            continue;
        if (card->IsLand())
            record->m_LandColours.Add(*card->GetManaCounters());
        const CardActor* const tapper = card->GetHost() != nullptr ? card->GetHost() : card;
        if (tapper->GetTapState() == TAP_READY)
            available.Add(GetManaProduction(*card));
    }
    if (!forCpu)
        available.Add(record->m_ManaPool);
}

// x against g: 3 above, 0 equal, 2 below.
int Compare(int x, int g)
{
    return x > g ? PAY_TOO_MUCH : x == g ? PAY_EXACT : PAY_TOO_LITTLE;
}

} // namespace

bool IsManaSource(const CardActor& card, bool forCpu)
{
    const CardAbility& ability = *card.GetAbility();
    if (ability.costType != COSTTYPE_TAP || ability.cost.Total() != 0)
        return false;
    return ability.effect.effectType == EFFECT_PRODUCEMANA || (forCpu && ability.effect.effectType == EFFECT_CHOOSEMANA);
}

const ManaCost& GetManaProduction(const CardActor& card)
{
    return card.GetAbility()->effect.manaProduced;
}

void UpdateHumanAvailableMana()
{
    UpdateAvailableMana(PLAYER_HUMAN, false);
}

void UpdateCpuAvailableMana()
{
    UpdateAvailableMana(PLAYER_CPU, true);
}

const ManaCost& GetAvailableMana(int player)
{
    return s_Available[player == PLAYER_CPU ? 1 : 0];
}

void AddToPlayerPool(const ManaCost& amount, int player)
{
    if (PlayerState* const record = GetPlayerState(player))
        record->m_ManaPool.Add(amount);
    UpdateHumanAvailableMana();
}

bool PayFromPool(const ManaCost& cost, ManaCost& pool)
{
    if (!IsCostCoveredBy(cost, pool))
        return false;
    pool.Add(cost.Negated());
    return true;
}

bool PayFromPlayerPool(const ManaCost& cost, int player)
{
    PlayerState* const record = GetPlayerState(player);
    if (record == nullptr)
        return false;
    const bool paid = PayFromPool(cost, record->m_ManaPool);
    if (player == PLAYER_CPU)
        UpdateCpuAvailableMana();
    else
        UpdateHumanAvailableMana();
    return paid;
}

void ReturnPaidToPool(int player)
{
    if (PlayerState* const record = GetPlayerState(player))
        record->m_ManaPool.Add(s_Payment.paidSoFar);
    s_Payment.paidSoFar.Clear();
}

void ClearPlayerManaPool(int player)
{
    s_Payment.paying = false;
    if (PlayerState* const record = GetPlayerState(player))
        record->m_ManaPool.Clear();
    s_Payment.paidSoFar.Clear();
    std::fill(std::begin(s_Payment.tappedLands), std::end(s_Payment.tappedLands), nullptr);
    for (CardActor* const card : GetCardActors()) {
        if (!card->IsLand() && card->GetAbility()->effect.effectType == EFFECT_PRODUCEMANA)
            card->SetManaReady(false);
    }
    UpdateHumanAvailableMana();
}

bool IsPoolUnambiguous(int player)
{
    const PlayerState* const record = GetPlayerState(player);
    if (record == nullptr || record->m_ManaPool.Total() == 0)
        return false;
    const ManaCost& pool = record->m_ManaPool;
    const int colours = (pool.red != 0) + (pool.green != 0) + (pool.blue != 0) + (pool.black != 0) + (pool.white != 0);
    return colours <= 1;
}

bool HumanPoolCovers(const ManaCost& cost)
{
    return IsCostCoveredBy(cost, GetPlayerState(PLAYER_HUMAN)->m_ManaPool);
}

void ComputeOutstandingCost(CardActor& card, bool isAbility)
{
    const ManaCost& cost = isAbility ? card.GetAbility()->cost : card.GetCost();
    const ManaCost& paid = card.GetPaidMana();
    ManaCost& out = s_Payment.outstanding;
    for (int i = 1; i < 6; ++i)
        out.At(i) = std::max(0, cost.At(i) - paid.At(i));
    if (card.m_GenericOwed == -1)
        card.m_GenericOwed = cost.generic;
    out.generic = card.m_GenericOwed;
}

void CollectSourcesForMana(std::vector<CardActor*>& sources, ManaCost& amount)
{
    const std::vector<CardActor*> cards = GetCardActors();
    for (auto it = cards.rbegin(); it != cards.rend(); ++it) {
        CardActor* const card = *it;
        if (!card->CanAct() || card->GetTapState() != TAP_TAPPED ||
            card->GetAbility()->effect.effectType != EFFECT_PRODUCEMANA)
            continue;
        const ManaCost& production = GetManaProduction(*card);
        if (!IsCostCoveredBy(production, amount))
            continue;
        const bool taken = card->IsLand() ? CountBrailmelAuras(card) == 0 : card->IsManaReady();
        if (taken && PayFromPool(production, amount))
            sources.push_back(card);
    }
}

void SettleTappedSources()
{
    std::vector<CardActor*> sources;
    ManaCost pool = GetPlayerState(PLAYER_HUMAN)->m_ManaPool;
    CollectSourcesForMana(sources, pool);
    for (CardActor* const source : sources) {
        PayFromPlayerPool(GetManaProduction(*source), PLAYER_HUMAN);
        source->SetTapState(TAP_READY);
    }
}

void ApplyManaBurn(int player)
{
    if (player != PLAYER_HUMAN)
        return;
    PlayerState& human = *GetPlayerState(PLAYER_HUMAN);
    std::vector<CardActor*> sources;
    ManaCost copy = human.m_ManaPool;
    CollectSourcesForMana(sources, copy);
    if (human.m_ManaPool.Total() != 0 && sources.empty()) {
        ClearPlayerManaPool(PLAYER_HUMAN);
    } else if (human.m_ManaPool.Total() != 0) {
        const int previous = human.GetLife();
        human.TakeDamage(human.m_ManaPool.Total(), true);
        PlayStream(u"data\\sfx\\manaburn.wav");
        if (!IsOnlineLesson())
            ShowHumanLifeChange(1, previous);
        ClearPlayerManaPool(PLAYER_HUMAN);
    }
}

void AppendTappedLand(CardActor* card)
{
    if (card == nullptr || card->GetTapState() != TAP_TAPPED)
        return;
    for (CardActor*& slot : s_Payment.tappedLands) {
        if (slot == nullptr) {
            slot = card;
            return;
        }
    }
}

void UndoLastTappedLand()
{
    s_Payment.undoRequest = false;
    if (!IsOnlineLesson())
        return;
    int last = -1;
    while (last + 1 < TAPPED_LAND_CAPACITY && s_Payment.tappedLands[last + 1] != nullptr)
        ++last;
    if (last < 0)
        return;
    CardActor* const land = s_Payment.tappedLands[last];
    ManaCost& pool = GetPlayerState(PLAYER_HUMAN)->m_ManaPool;
    const ManaCost& colours = *land->GetManaCounters();
    if (land->GetTapState() != TAP_TAPPED || !IsCostCoveredBy(colours, pool) || CountBrailmelAuras(land) != 0)
        return;
    PayFromPool(colours, pool);
    land->SetTapState(TAP_READY);
    s_Payment.tappedLands[last] = nullptr;
    if (pool.Total() == 0)
        std::fill(std::begin(s_Payment.tappedLands), std::end(s_Payment.tappedLands), nullptr);
    UpdateHumanAvailableMana();
}

namespace {

// A pool row's counter: 0 white, 1 blue, 2 black, 3 red, 4 green, 5 generic.
constexpr int ROW_COUNTER[6] = {5, 3, 4, 1, 2, 0};

void FillSymbols(int genericOwed)
{
    PaymentState::Symbol* const slots = s_Payment.symbols;
    for (int i = 0; i < 5; ++i)
        slots[i] = {0, 26 + 15 * i, 3};
    int next = 0;
    if (genericOwed > 0)
        slots[next++].kind = 5 + genericOwed;
    // The first outstanding colour in the order black, blue, green, red, white.
    constexpr struct {
        int counter;
        int kind;
    } ORDER[5] = {{4, 3}, {3, 2}, {2, 5}, {1, 4}, {5, 1}};
    for (const auto& colour : ORDER) {
        const int owed = s_Payment.outstanding.At(colour.counter);
        if (owed == 0)
            continue;
        for (int n = 0; n < owed && next < 5; ++n)
            slots[next++].kind = colour.kind;
        break;
    }
}

// One mana for the generic owed, in the order generic, white, blue, black, red, green.
void TakeOneForGeneric(CardActor& card, ManaCost& pool)
{
    for (const int counter : {0, 5, 3, 4, 1, 2}) {
        if (pool.At(counter) > 0) {
            --pool.At(counter);
            ++s_Payment.paidSoFar.At(counter);
            ++card.GetPaidMana().At(counter);
            --card.m_GenericOwed;
            return;
        }
    }
}

bool FinishPaid()
{
    s_Payment.paying = false;
    s_Payment.paidSoFar.Clear();
    return true;
}

bool OnlyGenericOutstanding()
{
    return !s_Payment.outstanding.HasColour();
}

// The online payment prompt with the outstanding symbols; true when its cancel button was clicked, which gives
// the payment up.
bool CancelledAtPrompt(CardActor& card, bool isAbility, const char16_t* key)
{
    GameDisplay* const display = GetGameDisplay();
    if (!IsOnlineLesson() || display == nullptr)
        return false;
    const char16_t* const text = GetString(key);
    int slots[15] = {};
    for (int i = 0; i < 5; ++i) {
        slots[i * 3] = s_Payment.symbols[i].kind;
        slots[i * 3 + 1] = s_Payment.symbols[i].x;
        slots[i * 3 + 2] = s_Payment.symbols[i].y;
    }
    if (display->ShowSymbolPrompt(text != nullptr ? text : u"", 6, slots) == 0)
        return false;
    if (isAbility)
        CancelPayment(card);
    else
        CancelPaymentOnCard(&card);
    return true;
}

} // namespace

const char16_t* PaymentPromptKey(const ManaCost& pool, int costGeneric)
{
    if (pool.Total() < costGeneric)
        return pool.Total() != 0 ? u"ONL_PAY_LandAndPool" : u"ONL_PAY_Land";
    return u"ONL_PAY_Pool";
}

bool BeginManaPayment(CardActor& card, bool isAbility, int clickedRow)
{
    s_Payment.paying = false;
    const ManaCost& cost = isAbility ? card.GetAbility()->cost : card.GetCost();
    if (cost.Total() == 0)
        return true;
    ManaCost& pool = GetPlayerState(PLAYER_HUMAN)->m_ManaPool;
    ComputeOutstandingCost(card, isAbility);
    FillSymbols(card.m_GenericOwed);
    if (s_Payment.outstanding.HasColour()) {
        s_Payment.paying = true;
        if (CancelledAtPrompt(card, isAbility, isAbility ? u"PRE_ONL_PAY_Ability" : u"PRE_ONL_PAY_Spell"))
            return false;
        for (const int counter : {1, 2, 3, 4, 5}) {
            const int owed = s_Payment.outstanding.At(counter);
            if (owed == 0 || pool.At(counter) == 0)
                continue;
            const int take = std::min(owed, pool.At(counter));
            pool.At(counter) -= take;
            s_Payment.paidSoFar.At(counter) += take;
            card.GetPaidMana().At(counter) += take;
            break;
        }
        ComputeOutstandingCost(card, isAbility);
        if (OnlyGenericOutstanding()) {
            if (pool.Total() == s_Payment.outstanding.generic && s_Payment.outstanding.generic != 0) {
                ClearPlayerManaPool(PLAYER_HUMAN);
                return FinishPaid();
            }
            if (s_Payment.outstanding.Total() == 0)
                return FinishPaid();
        }
        while (card.m_GenericOwed > 0 && IsPoolUnambiguous(PLAYER_HUMAN)) {
            TakeOneForGeneric(card, pool);
            ComputeOutstandingCost(card, isAbility);
        }
        UpdateHumanAvailableMana();
        if (s_Payment.outstanding.Total() != 0)
            return false;
        return FinishPaid();
    }
    if (card.m_GenericOwed > 0) {
        s_Payment.paying = true;
        if (clickedRow >= 0 && clickedRow < 6) {
            const int counter = ROW_COUNTER[clickedRow];
            if (pool.At(counter) > 0) {
                --pool.At(counter);
                ++s_Payment.paidSoFar.At(counter);
                ++card.GetPaidMana().At(counter);
                --card.m_GenericOwed;
            }
        }
        ComputeOutstandingCost(card, isAbility);
        if (card.m_GenericOwed <= 0)
            return FinishPaid();
        if (pool.Total() == card.m_GenericOwed) {
            ClearPlayerManaPool(PLAYER_HUMAN);
            return FinishPaid();
        }
        while (card.m_GenericOwed > 0 && IsPoolUnambiguous(PLAYER_HUMAN)) {
            TakeOneForGeneric(card, pool);
            ComputeOutstandingCost(card, isAbility);
        }
        UpdateHumanAvailableMana();
        if (card.m_GenericOwed <= 0)
            return FinishPaid();
        CancelledAtPrompt(card, isAbility, PaymentPromptKey(pool, cost.generic));
        return false;
    }
    return false;
}

int GetManaPoolSymbolAt(int mouseX, int mouseY, int left, int top, int right, int bottom, bool clickPending,
                        bool colourChoicePending)
{
    if (!IsOnlineLesson() || !clickPending)
        return -1;
    if (mouseX <= left || mouseX >= right || mouseY <= top || mouseY >= bottom)
        return -1;
    const int width = right - left;
    const int x0 = left + static_cast<int>(0.6f * static_cast<float>(width));
    const int x1 = x0 + static_cast<int>(0.33f * static_cast<float>(width));
    if (mouseX <= x0 || mouseX >= x1)
        return -1;
    const int rowHeight = (bottom - top + 1) / 6;
    if (rowHeight < 1)
        return -1;
    const int row = (mouseY - top) / rowHeight;
    return colourChoicePending ? row + 10 : row;
}

int GetClickedPoolRow()
{
    constexpr int PLAYER_STATUS_ZONE = 7;
    const GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return -1;
    const RasterRect& panel = display->GetZoneRectByIndex(PLAYER_STATUS_ZONE);
    return GetManaPoolSymbolAt(MouseState.x, MouseState.y, panel.left, panel.top, panel.right, panel.bottom,
                               MouseState.leftClicked != 0, false);
}

bool TakePoolSymbol(int row, ManaCost& out)
{
    out.Clear();
    if (!IsOnlineLesson() || row < 0 || row >= 6)
        return false;
    ManaCost& pool = GetPlayerState(PLAYER_HUMAN)->m_ManaPool;
    const int counter = ROW_COUNTER[row];
    if (pool.At(counter) <= 0)
        return false;
    --pool.At(counter);
    out.At(counter) = 1;
    UpdateHumanAvailableMana();
    return true;
}

int CheckManaPaymentPhysical(const CardActor& card, bool isAbility)
{
    const ManaCost& pool = GetPlayerState(PLAYER_HUMAN)->m_ManaPool;
    const ManaCost& cost = isAbility ? card.GetAbility()->cost : card.GetCost();
    const int g = cost.generic;
    if (pool == cost)
        return PAY_EXACT;
    if (cost.Total() == 0)
        return pool.Total() == 0 ? PAY_EXACT : PAY_TOO_MUCH;
    if (pool.Total() == 0)
        return PAY_NOTHING_YET;
    if (!cost.HasColour())
        return Compare(pool.Total(), g);
    ManaCost coloured = cost;
    coloured.generic = 0;
    const ManaCost inColours = KeepCoveredColours(pool, coloured);
    // The pool's mana of colours the cost does not name. Every colour of the cost is left out, not only its
    // first: with the first alone, an exact payment of a two-colour cost counted its second colour twice.
    ManaCost others = pool;
    for (const int index : {1, 2, 3, 4, 5}) {
        if (cost.At(index) != 0)
            others.At(index) = 0;
    }
    if (g > 0) {
        const int extra = inColours.Total() - coloured.Total();
        if (others.Total() == 0)
            return Compare(extra, g);
        if (extra == 0)
            return Compare(others.Total(), g);
        if (extra > 0)
            return Compare(others.Total() + extra, g);
        return others.Total() <= g ? PAY_TOO_LITTLE : PAY_WRONG_COLOURS;
    }
    if (others.Total() == 0)
        return Compare(inColours.Total(), cost.Total());
    return inColours.Total() >= cost.Total() ? PAY_TOO_MUCH : PAY_WRONG_COLOURS;
}

int PayAbilityCost(CardActor& card)
{
    if (!s_Payment.paying) {
        if (IsOnlineLesson())
            card.m_GenericOwed = -1;
        s_Payment.paying = true;
    }
    int state = CheckManaPaymentPhysical(card, true);
    if (IsOnlineLesson())
        state = BeginManaPayment(card, true, GetClickedPoolRow()) ? PAY_EXACT : PAY_TOO_LITTLE;
    const CardAbility& ability = *card.GetAbility();
    if (state == PAY_TOO_MUCH && ability.effect.effectType == EFFECT_PTMOD_MANAPUMP && ability.cost.HasColour()) {
        ManaCost copy = GetPlayerState(PLAYER_HUMAN)->m_ManaPool;
        ManaCost step = ability.cost;
        step.generic = 0;
        while (copy.Total() != 0 && PayFromPool(step, copy)) {
        }
        if (copy.Total() == 0)
            state = PAY_EXACT;
    }
    if (state == PAY_EXACT)
        s_Payment.paying = false;
    return state;
}

PaymentState& GetPaymentState()
{
    return s_Payment;
}

void ResetManaPoolState()
{
    s_Payment = PaymentState();
    s_Available[0].Clear();
    s_Available[1].Clear();
}
