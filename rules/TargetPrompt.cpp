#include "rules/TargetPrompt.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/CardWindow.h"
#include "cards/MessagePrompts.h"
#include "engine/core/StringTable.h"
#include "engine/core/TextHelpers.h"
#include "engine/scene/Actor.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "gamestate/RulesLessonCalls.h"
#include "gui/GUI_Manager.h"
#include "gui/Messagebox.h"

#include <memory>
#include <set>

namespace {

constexpr int PROMPT_WIDTH = 340;
constexpr int PROMPT_HEIGHT = 200;
constexpr int MESSAGE_FIELD_CANCEL = 3;

std::unique_ptr<Messagebox> s_pTargetPrompt;
bool s_OnlineCancelClicked = false;
int s_Rejects = 0;

struct CardPromptRow {
    int mode;
    bool isAbility;
    int cardId;
    const char16_t* key;
    const char16_t* voice;
};

constexpr CardPromptRow CARD_PROMPTS[] = {
    {1, false, CD_NODUMBER, u"PHYSDLG_NODUMBER_CHOOSETARGET", u"vo_phys\\target_nodumber.wav"},
    {1, false, CD_ESKINRIC, u"PHYSDLG_ESKINRIC_CHOOSETARGET", u"vo_phys\\target_eskinric.wav"},
    {1, false, CD_VEKINDAL, u"PHYSDLG_VEKINDAL_CHOOSETARGET", u"vo_phys\\target_vekindal.wav"},
    {1, false, CD_DRAUMBER, u"PHYSDLG_DRAUMBER_CHOOSETARGET", u"vo_phys\\target_draumber.wav"},
    {1, false, CD_GALUMSK, u"PHYSDLG_GALUMSK_CHOOSETARGET", u"vo_phys\\target_galumsk.wav"},
    {1, false, CD_DOVANRIC, u"PHYSDLG_DOVANRIC_CHOOSETARGET", u"vo_phys\\target_dovanric.wav"},
    {2, true, CD_DRAISNEL, u"PHYSDLG_DRAISNEL_CHOOSETARGET", u"vo_phys\\adv_abilitytarget_draisnel.wav"},
};

bool AimsAtBothPlayers(const TargetSpec& target)
{
    return target.caster && target.opponent;
}

// Every colour but black: the record of a "non-black creature" spell.
bool IsNonBlackColourSet(const ManaCost& c)
{
    return c.black == 0 && c.generic != 0 && c.red != 0 && c.green != 0 && c.blue != 0 && c.white != 0;
}

const char16_t* SpellPromptKey(const TargetSpec& target, const EffectSpec& effect, const char16_t** voice)
{
    if ((target.type & TT_CREATURE) != 0) {
        if (IsNonBlackColourSet(target.color)) {
            *voice = u"vo_phys\\spelltarget_NonBlackCreature.wav";
            return u"PHYSDLG_TARGET_NONBLACKCREATURE";
        }
        if (target.state == ATTACKING) {
            *voice = u"vo_phys\\spelltarget_AttackingCreature.wav";
            return u"PHYSDLG_TARGET_ATTACKINGCREATURE";
        }
        if (target.state == TAPPED) {
            *voice = u"vo_phys\\spelltarget_TappedCreature.wav";
            return u"PHYSDLG_TARGET_TAPPEDCREATURE";
        }
        if (effect.effectType == EFFECT_COUNTER)
            return u"PHYSDLG_TARGET_CREATUREANDCOUNTER";
        if (AimsAtBothPlayers(target)) {
            *voice = u"vo_phys\\spelltarget_CreatureOrPlayer.wav";
            return u"PHYSDLG_TARGET_CREATUREORPLAYER";
        }
        *voice = u"vo_phys\\spelltarget_Creature.wav";
        return u"PHYSDLG_TARGET_CREATURE";
    }
    if (AimsAtBothPlayers(target)) {
        *voice = u"vo_phys\\spelltarget_Player.wav";
        return u"PHYSDLG_TARGET_PLAYER";
    }
    if ((target.type & TT_LAND) != 0) {
        *voice = u"vo_phys\\spelltarget_Land.wav";
        return u"PHYSDLG_TARGET_LAND";
    }
    if ((target.type & TT_ARTIFACT) != 0 && (target.type & TT_ENCHANTMENT) != 0) {
        *voice = u"vo_phys\\spelltarget_ArtOrEnch.wav";
        return u"PHYSDLG_TARGET_ARTIFACTORENCHANTMENT";
    }
    return u"PHYSDLG_TARGET_GENERIC_SPELL";
}

const char16_t* AbilityPromptKey(const TargetSpec& target, const char16_t** voice)
{
    if ((target.type & TT_CREATURE) != 0) {
        if (AimsAtBothPlayers(target)) {
            *voice = u"vo_phys\\adv_abilitytarget_CreatureOrPlayer.wav";
            return u"PHYSDLG_ABILITYTARGET_CREATUREORPLAYER";
        }
        *voice = u"vo_phys\\adv_abilitytarget_Creature.wav";
        return u"PHYSDLG_ABILITYTARGET_CREATURE";
    }
    if (AimsAtBothPlayers(target)) {
        *voice = u"vo_phys\\adv_abilitytarget_Player.wav";
        return u"PHYSDLG_ABILITYTARGET_PLAYER";
    }
    return u"PHYSDLG_TARGET_GENERIC_ABILITY";
}

void UnregisterPrompt()
{
    GameDisplay* const display = GetGameDisplay();
    if (display->IsWindowRegistered(s_pTargetPrompt.get()))
        display->UnregisterWindow(s_pTargetPrompt.get());
}

} // namespace

Messagebox* GetTargetPrompt()
{
    return s_pTargetPrompt.get();
}

bool IsTargetPromptOpen()
{
    return s_pTargetPrompt != nullptr && GetGameDisplay()->IsWindowRegistered(s_pTargetPrompt.get());
}

const char16_t* GetTargetPromptKey(const CardActor* source, bool isAbility, const char16_t** voice)
{
    const char16_t* ignored = nullptr;
    const char16_t** const clip = voice != nullptr ? voice : &ignored;
    *clip = nullptr;
    if (source == nullptr)
        return isAbility ? u"PHYSDLG_TARGET_GENERIC_ABILITY" : u"PHYSDLG_TARGET_GENERIC_SPELL";
    for (const CardPromptRow& row : CARD_PROMPTS) {
        if (row.mode == s_GameMode && row.isAbility == isAbility && row.cardId == source->GetId()) {
            *clip = row.voice;
            return row.key;
        }
    }
    if (isAbility)
        return AbilityPromptKey(source->GetAbility()->target, clip);
    return SpellPromptKey(*source->GetSpellTarget(), *source->GetSpellEffect(), clip);
}

void OpenTargetPrompt(CardActor* source, bool isAbility)
{
    const RulesLessonCalls& lesson = g_RulesLessonCalls;
    if (lesson.IsLessonBoxShowing != nullptr && lesson.IsLessonBoxShowing() && lesson.CloseLessonBox != nullptr)
        lesson.CloseLessonBox();
    const char16_t* voice = nullptr;
    const char16_t* const key = GetTargetPromptKey(source, isAbility, &voice);
    if (s_pTargetPrompt == nullptr)
        s_pTargetPrompt = std::make_unique<Messagebox>(DIALOG_KIND_MESSAGEBOX);
    Messagebox& box = *s_pTargetPrompt;
    box.ClearButtons();
    box.SetScaledSize(PROMPT_WIDTH, PROMPT_HEIGHT);
    const char16_t* const text = GetString(key);
    if (isAbility && text != nullptr && source != nullptr)
        box.CopyText(FormatString(text, {source->GetNameField()}));
    else
        box.SetText(text, false, false);
    // The basic game starts without a way out; a refusal adds one.
    if (s_GameMode != 1)
        box.CreateButtons(1);
    box.AutoSize();
    GameDisplay* const display = GetGameDisplay();
    display->PlaceAdviceWindow(&box);
    display->RegisterWindow(&box);
    StopVoiceQueue();
    QueueVoice(voice, true);
}

void CloseTargetPrompt()
{
    if (s_pTargetPrompt != nullptr)
        UnregisterPrompt();
}

void DeleteTargetPrompt()
{
    if (s_pTargetPrompt == nullptr)
        return;
    // The display and the toolkit only refer to the box: both must forget it before it goes.
    UnregisterPrompt();
    GetGUIManager()->UnregisterWindow(s_pTargetPrompt.get());
    s_pTargetPrompt.reset();
}

bool TakeTargetPromptButton()
{
    if (IsOnlineLesson()) {
        const bool clicked = s_OnlineCancelClicked;
        s_OnlineCancelClicked = false;
        return clicked;
    }
    return IsTargetPromptOpen() && s_pTargetPrompt->GetAnswer() >= 0;
}

void ShowTargetRefusal(const char16_t* key)
{
    if (s_pTargetPrompt == nullptr)
        return;
    s_pTargetPrompt->SetText(GetString(key), false, false);
    s_pTargetPrompt->ClearButtons();
    s_pTargetPrompt->CreateButtons(1);
    s_pTargetPrompt->AutoSize();
}

void ShowOnlineTargetPrompt(const char16_t* key)
{
    const char16_t* const text = GetString(key);
    OnlinePromptOwner() = text != nullptr ? text : u"";
    s_OnlineCancelClicked = GetGameDisplay()->ShowMessagePrompt(OnlinePromptOwner(), MESSAGE_FIELD_CANCEL) == 1;
}

void RejectTargetClick()
{
    ++s_Rejects;
    PlayStream(u"data\\sfx\\reject.wav");
}

int GetTargetRejectCount()
{
    return s_Rejects;
}

CardActor* FindCardUnderCardEdge(const CardActor* card)
{
    if (card == nullptr)
        return nullptr;
    int width = 0;
    int height = 0;
    GetGameDisplay()->GetCardDrawSize(card, width, height, false);
    const float x = card->m_Position.x;
    const float y = card->m_Position.y;
    GUI_Manager* const manager = GetGUIManager();
    std::set<GUI_Window*> lookedThrough;
    for (const float f : {0.0f, 0.5f, 1.0f}) {
        const int py = static_cast<int>(y + f * static_cast<float>(height));
        for (const float dx : {0.0f, static_cast<float>(width)}) {
            const int px = static_cast<int>(x + dx);
            if (px <= 0 || px >= s_ScreenRect.right || py <= 0 || py >= s_ScreenRect.bottom)
                continue;
            for (;;) {
                GUI_Window* const window = manager->GetWindowAt(px, py, &lookedThrough);
                if (window == nullptr || window->GetKind() != GUI_KIND_CARD)
                    break;
                CardActor* const shown = static_cast<CardWindow*>(window)->GetCardActor();
                if (shown == nullptr)
                    break;
                if (shown == card) {
                    lookedThrough.insert(window);
                    continue;
                }
                if (IsActorRegistered(shown))
                    return shown;
                break;
            }
        }
    }
    return nullptr;
}
