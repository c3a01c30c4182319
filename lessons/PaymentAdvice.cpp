#include "lessons/PaymentAdvice.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/core/StringTable.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/AdviceState.h"
#include "gamestate/TableFlowState.h"
#include "gui/DialogManager.h"
#include "gui/Messagebox.h"
#include "lessons/PaymentTexts.h"
#include "rules/ManaPool.h"

#include <array>

namespace {

constexpr int BOX_WIDTH = 400;
constexpr int BOX_HEIGHT = 200;
constexpr std::uint32_t BUTTON_TEXT = 0xFFFFFF;
constexpr std::uint32_t BUTTON_HIGHLIGHT = 0xF8F8E0;
constexpr int BUTTON_FONT = 8;
// A column at the lower right corner, the done button on top.
constexpr int BUTTON_ARRANGEMENT = 3;
constexpr int BUTTON_SPACING = 5;
constexpr int BUTTON_COUNT = 2;
constexpr int EVENT_SPELL_PAYMENT = 6;
constexpr int EVENT_ABILITY_ACTIVATION = 8;

// The text of a payment box: a formatted record, or a plain text.
struct PaymentText {
    FormattedText* record = nullptr;
    const char16_t* plain = nullptr;
};

struct CostShape {
    int generic = 0;
    int colored = 0;
    int colorIndex = -1;
};

CostShape SpellCost(const CardActor& card)
{
    const ManaCost* const cost = card.GetManaCounters();
    return {cost != nullptr ? cost->generic : 0, card.GetColoredAmount(false), card.GetColorIndex()};
}

// The colour index is the casting cost's, also for an ability.
CostShape AbilityCost(const CardActor& card)
{
    const CardAbility* const ability = card.GetAbility();
    return {ability != nullptr ? ability->cost.generic : 0, card.GetColoredAmount(true), card.GetColorIndex()};
}

std::u16string_view TextOf(std::u16string_view key)
{
    const char16_t* const text = GetString(key);
    return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

PaymentText BuildText(const CostShape& cost, std::u16string_view templateText)
{
    PaymentText text;
    BuildPaymentText(cost.generic, cost.colorIndex, cost.colored, templateText, &text.record);
    return text;
}

PaymentText KeyedText(const CostShape& cost, std::u16string_view family)
{
    std::u16string key(family);
    key += u'_';
    key += PaymentKeySuffix(cost.generic, cost.colored);
    return BuildText(cost, TextOf(key));
}

void ShowPaymentBox(int kind, const PaymentText& text)
{
    Messagebox* box = GetLessonBox();
    bool isNew = box == nullptr;
    if (box == nullptr) {
        box = new Messagebox(DIALOG_KIND_MESSAGEBOX);
        SetLessonBox(box);
    } else {
        isNew = box->GetKindNumber() != kind;
    }
    box->Reset();
    box->SetKind(kind);
    box->SetScaledSize(BOX_WIDTH, BOX_HEIGHT);
    // The box may still hold the other kind of text from its last showing.
    if (text.record != nullptr) {
        box->SetText(nullptr, false, false);
        box->SetTextBlock(text.record, true, true, BUTTON_COUNT, BUTTON_ARRANGEMENT);
    } else {
        box->SetTextBlock(nullptr, false, false, 0, 0);
        box->SetText(text.plain, false, false);
    }
    for (const char16_t* const key : {u"PHYSDLG_BUTTON_DoneTappingLands", u"STR_Cancel"}) {
        const char16_t* const label = GetString(key);
        box->AddButton(label != nullptr ? label : u"", BUTTON_TEXT, BUTTON_HIGHLIGHT, BUTTON_HIGHLIGHT, BUTTON_FONT,
                       -1, -1);
    }
    box->Layout(BUTTON_ARRANGEMENT, BUTTON_SPACING);
    box->MakeButtonsSameWidth();
    box->AutoSize();
    GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return;
    if (isNew)
        display->PlaceAdviceWindow(box);
    if (!display->IsWindowRegistered(box))
        display->RegisterWindow(box);
}

void PlayPaymentVoice(const char16_t* clip)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(clip, -1, true);
}

bool ShowSpellBox(const PaymentText& text, const char16_t* clip)
{
    ShowPaymentBox(PAYMENT_BOX_SPELL, text);
    PlayPaymentVoice(clip);
    // The card the driver is casting, whichever card was handed in.
    PostDialogEvent(EVENT_SPELL_PAYMENT, GetTableFlow().castingCard);
    return true;
}

bool ShowAbilityBox(CardActor* card, const PaymentText& text, const char16_t* clip)
{
    ShowPaymentBox(PAYMENT_BOX_ABILITY, text);
    PlayPaymentVoice(clip);
    PostDialogEvent(EVENT_ABILITY_ACTIVATION, card);
    return true;
}

bool ShowDraisnelBox(CardActor* card, int paymentState)
{
    switch (paymentState) {
    case PAY_NOTHING_YET:
        return ShowAbilityBox(card, {GetFormattedText(u"FMT_PHYSDLG_PayforAbility_Draisnel"), nullptr},
                              u"vo_phys\\adv_PayforAbility_draisnel_tap3.wav");
    case PAY_TOO_LITTLE:
        SettleTappedSources();
        return ShowAbilityBox(card, {nullptr, GetString(u"PHYSDLG_PayforAbility_NotEnough_Draisnel")},
                              u"vo_phys\\adv_PayforAbility_draisnel_TooLittle.wav");
    case PAY_TOO_MUCH:
        SettleTappedSources();
        return ShowAbilityBox(card, {nullptr, GetString(u"PHYSDLG_PayforAbility_TooMany_Draisnel")},
                              u"vo_phys\\adv_PayforAbility_draisnel_TooMuch.wav");
    default:
        return false;
    }
}

bool IsDraisnelState(int paymentState)
{
    return paymentState >= PAY_NOTHING_YET && paymentState <= PAY_TOO_MUCH;
}

} // namespace

const char16_t* PaymentKeySuffix(int generic, int colored)
{
    if (colored <= 0)
        return u"N";
    const bool many = colored >= 2;
    if (generic <= 0)
        return many ? u"CC" : u"C";
    if (generic == 1)
        return many ? u"1CC" : u"1C";
    return many ? u"NCC" : u"NC";
}

std::u16string AbilityPromptTemplate(std::u16string_view text, int generic, int colored)
{
    const std::u16string_view sequence = colored == 0 ? u"%1" : (generic == 0 ? u"%0" : u"%1%0");
    std::u16string result(text);
    for (const std::u16string_view placeholder : {u"%ls", u"%s", u"%S"}) {
        const std::size_t at = result.find(placeholder);
        if (at != std::u16string::npos) {
            result.replace(at, placeholder.size(), sequence);
            break;
        }
    }
    return result;
}

bool ShowSpellPaymentBox(CardActor* card, int paymentState, int firstPrompt)
{
    if (card == nullptr || paymentState < PAY_NOTHING_YET || paymentState > PAY_WRONG_COLOURS)
        return false;
    const CostShape cost = SpellCost(*card);
    if (paymentState == PAY_NOTHING_YET) {
        if (firstPrompt != 0)
            return ShowSpellBox(KeyedText(cost, u"PHYS_PayforSpell"), u"vo_phys\\PayForSpell.wav");
        return ShowSpellBox(KeyedText(cost, u"PHYS_TappedNoLands"), u"vo_phys\\PayForSpell_misclickdone.wav");
    }
    // The learner starts again from untapped lands and an empty pool.
    SettleTappedSources();
    static constexpr std::array<const char16_t*, 3> WRONG_POOL_VOICES = {
        u"vo_phys\\PayForSpell_TooFew.wav", u"vo_phys\\PayForSpell_TooMany.wav", u"vo_phys\\PayForSpell_WrongLand.wav"};
    return ShowSpellBox(KeyedText(cost, u"PHYS_TappedWrongLand"),
                        WRONG_POOL_VOICES[static_cast<std::size_t>(paymentState - PAY_TOO_LITTLE)]);
}

bool ShowAbilityPaymentBox(CardActor* card, int paymentState, int firstPrompt)
{
    if (card == nullptr || paymentState < PAY_NOTHING_YET || paymentState > PAY_WRONG_COLOURS)
        return false;
    // Draisnel's own texts cover states 1-3; wrong colours are told as for any other card.
    if (card->GetId() == CD_DRAISNEL && IsDraisnelState(paymentState))
        return ShowDraisnelBox(card, paymentState);
    const CostShape cost = AbilityCost(*card);
    if (paymentState == PAY_NOTHING_YET && firstPrompt != 0) {
        const std::u16string prompt = AbilityPromptTemplate(TextOf(u"PHYS_PayforAbility"), cost.generic, cost.colored);
        return ShowAbilityBox(card, BuildText(cost, prompt), u"vo_phys\\adv_PayforAbility.wav");
    }
    SettleTappedSources();
    if (firstPrompt == 0)
        return ShowAbilityBox(card, KeyedText(cost, u"PHYS_PayforAbility_WrongLand"),
                              u"vo_phys\\adv_PayforAbility_wronglands.wav");
    // The pool was already wrong when the payment started.
    return ShowAbilityBox(card, {nullptr, GetString(u"PHYS_PayforAbility_WrongLand")},
                          u"vo_phys\\adv_PayforAbility_wronglands_firsttime.wav");
}
