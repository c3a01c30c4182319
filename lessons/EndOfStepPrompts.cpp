#include "lessons/EndOfStepPrompts.h"

#include "cards/CardActor.h"
#include "cards/CardEnums.h"
#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gamestate/CardMoveState.h"
#include "gui/Messagebox.h"
#include "lessons/LessonBox.h"
#include "lessons/LessonQueries.h"
#include "rules/BoardQueries.h"
#include "rules/CombatDamage.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PlayerState.h"
#include "rules/Usability.h"

#include <string>

namespace {

constexpr int BASIC = 1;
constexpr int KIND_MANA_BURN = 10;
constexpr int KIND_PASS = 15;
constexpr int KIND_PLAY_MORE = 16;

int s_LastBurnCount = -1;
int s_PassCounter = 0;
int s_PlayMoreCounter = 0;

void PlayVoiceEveryTime(const char16_t* clip)
{
    if (HintRegistry* const hints = GetHintRegistry())
        hints->PlayVoiceLimited(clip, -1, true);
}

// Only the warning's own box goes: a box of another kind belongs to advice a caller still waits on.
void WithdrawWarning()
{
    s_LastBurnCount = -1;
    if (Messagebox* const box = GetLessonBox(); box != nullptr && box->GetKindNumber() == KIND_MANA_BURN) {
        if (GameDisplay* const display = GetGameDisplay())
            display->UnregisterWindow(box);
        DeleteLessonBox();
    }
}

std::u16string BurnText(const char16_t* key, const std::vector<CardActor*>& sources)
{
    const char16_t* const head = GetString(key);
    std::u16string text = head != nullptr ? head : u"";
    const char16_t* const line = GetString(u"PHYSDLG_ManaBurn_UntapLandFormatString");
    for (const CardActor* const land : sources) {
        const char16_t* const name = land->GetNameField();
        text += u"\n     ";
        text += line != nullptr ? FormatString(line, {name != nullptr ? name : u""}) : std::u16string();
    }
    return text;
}

// A prompt up with that kind: on an answer the box goes, the counter moves on and the voices stop. True either way.
bool PollPrompt(int kind, int& counter, int& answer)
{
    const Messagebox* const box = GetShownLessonBox(kind);
    if (box == nullptr)
        return false;
    if (box->GetAnswer() >= 0) {
        answer = box->GetAnswer();
        CloseLessonBox();
        ++counter;
    }
    return true;
}

// The text buttons of the lesson box, added by hand: the play-more question keeps their own widths unless the
// language's text is scaled up.
void AddQuestionButton(Messagebox& box, const char16_t* key)
{
    const char16_t* const label = GetString(key);
    box.AddButton(label != nullptr ? label : u"", 0xFFFFFF, 0xF8F8E0, 0xF8F8E0, MESSAGEBOX_BUTTON_FONT, -1, -1);
}

void ShowQuestion(int kind, const char16_t* key, const char16_t* firstButton, bool sameWidth, bool rearrange,
                  const char16_t* clip, int& answer)
{
    LessonBoxContent content;
    content.kind = kind;
    content.width = 300;
    content.height = 200;
    content.textKey = key;
    Messagebox* const box = ShowLessonBox(content);
    AddQuestionButton(*box, firstButton);
    AddQuestionButton(*box, u"PHYSDLG_BUTTON_EndTurn");
    if (rearrange)
        box->Layout(3, 5);
    if (sameWidth || rearrange)
        box->MakeButtonsSameWidth();
    box->AutoSize();
    answer = -1;
    PlayVoiceEveryTime(clip);
}

// Step 4 of the play-more question: whether the learner still holds a sorcery-speed card worth playing now.
bool HoldsPlayableCard()
{
    bool any = false;
    bool creature = false;
    std::vector<CardActor*> playable;
    for (CardActor* const card : GetCardActors()) {
        if (card->GetOwner() != 0 || !card->IsHeld() || card->IsInLibrary() || !card->IsNotLeaving())
            continue;
        const int type = card->GetCardType();
        if (type == CT_LAND || type == CT_INSTANT || !CanAffordCard(card, false, true) || !CanUseCardNow(card, false))
            continue;
        any = true;
        creature = creature || type == CT_CREATURE;
        playable.push_back(card);
    }
    if (!any)
        return false;
    if (creature)
        return true;
    for (CardActor* const card : playable) {
        if (CanPlayCardNow(card, true))
            return true;
    }
    return false;
}

} // namespace

bool ShowManaBurnWarning(const char16_t* key)
{
    if (s_GameMode != BASIC)
        return false;
    PlayerState& human = *GetPlayerState(0);
    const int floating = human.m_ManaPool.Total();
    std::vector<CardActor*>& sources = GetManaBurnSources();
    if (floating < 1) {
        WithdrawWarning();
        sources.clear();
        return false;
    }
    sources.clear();
    ManaCost pool = human.m_ManaPool;
    CollectSourcesForMana(sources, pool);
    if (sources.empty()) {
        PlayerState::ClearManaPool(0);
        return false;
    }
    Messagebox* box = GetShownLessonBox(KIND_MANA_BURN);
    if (box == nullptr) {
        LessonBoxContent content;
        content.kind = KIND_MANA_BURN;
        content.width = 420;
        content.height = 200;
        content.builtText.clear();
        box = ShowLessonBox(content);
        s_LastBurnCount = -1;
        PlayVoiceEveryTime(u"vo_phys\\ManaBurn.wav");
    }
    if (floating != s_LastBurnCount) {
        const std::u16string text = BurnText(key, sources);
        box->SetText(text.c_str(), true, false);
        box->AutoSize();
        s_LastBurnCount = floating;
    }
    return true;
}

bool ShowPassAndNoAttackPrompt(int& answer)
{
    if (s_PassCounter > 0)
        return false;
    if (GetPlayerState(0)->IsAttackDeclared() || CountCreaturesReadyToAttack(0) < 1) {
        ++s_PassCounter;
        return false;
    }
    if (CanPlayerBlockAny(1))
        return false;
    if (PollPrompt(KIND_PASS, s_PassCounter, answer))
        return true;
    ShowQuestion(KIND_PASS, u"PHYSDLG_PassAndNoAttack", u"PHYSDLG_BUTTON_Attack", true, false,
                 u"vo_phys\\EOT_PassAndNoAttack.wav", answer);
    return true;
}

bool ShowPlayMoreCardsPrompt(int& answer)
{
    if (s_PlayMoreCounter > 1)
        return false;
    if (PollPrompt(KIND_PLAY_MORE, s_PlayMoreCounter, answer))
        return true;
    const bool landToPlay = !IsLandPlayedThisTurn() && HumanHasLandInHand();
    if (!landToPlay && !HoldsPlayableCard()) {
        ++s_PlayMoreCounter;
        return false;
    }
    const LanguageManager* const language = GetLanguageManager();
    const bool rearrange = language != nullptr && language->GetTextScale() > 1.0f;
    ShowQuestion(KIND_PLAY_MORE, u"PHYSDLG_PlayMoreCards", u"PHYSDLG_BUTTON_PlayMoreCards", false, rearrange,
                 u"vo_phys\\EOT_PlayMoreCards.wav", answer);
    return true;
}

void ResetEndOfStepPrompts()
{
    s_PassCounter = 0;
    s_PlayMoreCounter = 0;
}

int& PassPromptCounter()
{
    return s_PassCounter;
}

int& PlayMoreCardsCounter()
{
    return s_PlayMoreCounter;
}
