#include "rules/Targets.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/scene/FrameState.h"
#include "cards/GraveyardLists.h"
#include "engine/scene/Actor.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "engine/sound/Wave.h"
#include "rules/HumanPayment.h"
#include "rules/ManaCost.h"
#include "rules/PlayerState.h"
#include "rules/TableSelection.h"
#include "rules/TargetPrompt.h"

namespace {

bool s_TargetRejectSounded = false;
bool s_HostileTargetRefused = false;
bool s_LandTargetPending = false;

} // namespace

bool IsHostileTargetOfOwn(const CardActor* source, int targetOwner, const char16_t** key)
{
    if (key != nullptr)
        *key = nullptr;
    if (source == nullptr || s_GameMode != 1 || targetOwner != 0)
        return false;
    switch (source->GetId()) {
    case CD_DRAUMBER:
    case CD_GALUMSK:
    case CD_ESKINRIC:
    case CD_NODUMBER:
    case CD_VEKINDAL:
    case CD_DOVANRIC:
        if (key != nullptr)
            *key = u"PHYSDLG_TARGET_HostileTargetOwn";
        return true;
    default:
        return false;
    }
}

bool PassesTargetOwner(const CardActor& source, const CardActor& candidate, int owner)
{
    switch (owner) {
    case OWNER_EITHER:
        return true;
    case OWNER_SELF:
        return candidate.GetOwner() == source.GetOwner();
    case OWNER_OPPONENT:
        return candidate.GetOwner() != source.GetOwner();
    default:
        return false;
    }
}

bool PassesTargetColour(const CardActor& candidate, const ManaCost& colours)
{
    const ManaCost& cost = *candidate.GetManaCounters();
    for (int i = 1; i < 6; ++i) {
        if (colours.At(i) > 0 && cost.At(i) > 0)
            return true;
    }
    return colours.generic > 0 && cost.generic > 0 && cost.generic == cost.Total();
}

bool PassesTargetState(const CardActor& c, int state)
{
    const bool inPlay = c.CanAct();
    switch (state) {
    case INPLAY:
        return inPlay;
    case HAND:
        return c.IsHeld() && !c.IsInLibrary() && c.IsOnStack();
    case GRAVEYARD:
        return c.IsExitMoveForward();
    case LIBRARY:
        return c.IsInLibrary();
    case TAPPED:
        return inPlay && c.GetTapState() == TAP_TAPPED;
    case UNTAPPED:
        return inPlay && c.GetTapState() == TAP_READY;
    case ATTACKING:
        return inPlay && c.IsAttacking();
    case BLOCKING:
        return inPlay && c.GetBlockedAttacker() != nullptr;
    case ATTACKING_OR_BLOCKING:
        return inPlay && (c.GetBlockedAttacker() != nullptr || c.IsAttacking());
    case ENCHANTED:
        return inPlay && c.HasAttachedAura(true);
    case ON_STACK:
        return c.IsOnStack();
    default:
        return false;
    }
}

bool PassesTargetType(const CardActor& source, const CardActor& candidate, int type)
{
    const int cardType = candidate.GetCardType();
    const int subType = candidate.GetSubType();
    const CardAbility& sourceAbility = *source.GetAbility();
    if (cardType == CT_CREATURE && (type & TT_CREATURE) != 0 &&
        (source.GetId() == CD_WENORTH || sourceAbility.effect.effectType != EFFECT_GAINLIFEORPREVENTDAMAGE ||
         source.GetState() == 2))
        return true;
    if ((cardType == CT_ARTIFACT || subType == ARTIFACT_CREATURE) && (type & TT_ARTIFACT) != 0)
        return true;
    if (cardType == CT_CREATURE && subType == ARTIFACT_CREATURE && (type & TT_ARTIFACT_CREATURE) != 0)
        return true;
    if (cardType == CT_ENCHANT && (type & TT_ENCHANTMENT) != 0)
        return true;
    if (cardType == CT_LAND && (type & TT_LAND) != 0) {
        if (source.GetId() == CD_BRAILMEL || sourceAbility.costType == COSTTYPE_SACTARGET)
            return candidate.GetOwner() == source.GetOwner();
        return true;
    }
    return false;
}

namespace {

bool IsClickPending()
{
    return MouseState.leftClicked != 0;
}

void ConsumeClick()
{
    MouseState.leftClicked = 0;
    MouseState.clickConsumed = 1;
}

bool IsMouseInZone(int zone)
{
    const GameDisplay* const display = GetGameDisplay();
    if (display == nullptr)
        return false;
    const RasterRect& r = display->GetZoneRectByIndex(zone);
    return MouseState.x >= r.left && MouseState.x <= r.right && MouseState.y >= r.top && MouseState.y <= r.bottom;
}

// The learner gave up the choice. A spell is given up whole, back to the hand with its mana returned; an
// ability's card stays where it is.
Actor* Abort(CardActor* source, bool isAbility, bool cancelPaymentOnAbort, bool* aborted)
{
    if (cancelPaymentOnAbort && isAbility)
        CancelPayment(*source);
    else if (cancelPaymentOnAbort)
        CancelPaymentOnCard(source);
    if (aborted != nullptr)
        *aborted = true;
    return nullptr;
}

// The basic game refuses the pick: the refusal stays until the prompt's Cancel.
bool RefuseHostilePick(const CardActor* source, int owner)
{
    const char16_t* key = nullptr;
    if (!IsHostileTargetOfOwn(source, owner, &key))
        return false;
    s_HostileTargetRefused = true;
    StopVoiceQueue();
    PlayStream(u"data\\sfx\\reject.wav");
    ShowTargetRefusal(key);
    return true;
}

// Steps 3 to 5: the prompt of the running lesson; false when the learner abandoned the choice.
bool RunPrompt(CardActor* source, bool isAbility, const EffectSpec& effect, bool cancelPaymentOnAbort,
               bool* aborted)
{
    if (IsOnlineLesson()) {
        if (!isAbility && effect.effectType == EFFECT_GAINLIFEORPREVENTDAMAGE && source->GetState() == 0) {
            // The advisor asks the question; the field offers only the way out.
            ShowOnlineTargetPrompt(u"ONL_CHOOSE_GAIN_PREVENT");
            if (TakeTargetPromptButton())
                Abort(source, isAbility, cancelPaymentOnAbort, aborted);
            else if (aborted != nullptr)
                *aborted = true;
            return false;
        }
        const bool sacrifice = isAbility && source->GetAbility()->costType == COSTTYPE_SACTARGET;
        ShowOnlineTargetPrompt(sacrifice ? u"ONL_CHOOSE_SAC_TARGET" : u"ONL_CHOOSE_TARGET");
        if (TakeTargetPromptButton()) {
            Abort(source, isAbility, cancelPaymentOnAbort, aborted);
            return false;
        }
        return true;
    }
    if (IsTargetPromptOpen()) {
        if (TakeTargetPromptButton()) {
            StopVoiceQueue();
            DeleteTargetPrompt();
            s_HostileTargetRefused = false;
            Abort(source, isAbility, cancelPaymentOnAbort, aborted);
            return false;
        }
        return true;
    }
    OpenTargetPrompt(source, isAbility);
    return true;
}

// Step 9: a click on no card may aim at a player's area.
Actor* ChoosePlayer(const CardActor* source, const TargetSpec& target)
{
    const bool physical = !IsOnlineLesson();
    const bool overHuman = IsMouseInZone(physical ? 1 : 3);
    const bool overCpu = IsMouseInZone(2) || (physical && IsMouseInZone(0));
    if (target.caster && overHuman) {
        if (IsTargetPromptOpen()) {
            if (RefuseHostilePick(source, PLAYER_HUMAN))
                return nullptr;
            DeleteTargetPrompt();
        }
        ConsumeClick();
        return FindActorByName(u"player");
    }
    if (target.opponent && overCpu) {
        DeleteTargetPrompt();
        ConsumeClick();
        return FindActorByName(u"cpuplayer");
    }
    return nullptr;
}

} // namespace

Actor* ChooseTarget(CardActor* source, CardActor* candidate, bool isAbility, bool quiet, bool cancelPaymentOnAbort,
                    bool* aborted)
{
    if (aborted != nullptr)
        *aborted = false;
    if (source == nullptr)
        return nullptr;
    const TargetSpec& target = isAbility ? source->GetAbility()->target : *source->GetSpellTarget();
    const EffectSpec& effect = isAbility ? source->GetAbility()->effect : *source->GetSpellEffect();
    if (!quiet) {
        s_LandTargetPending = (target.type & TT_LAND) != 0 && effect.needsTarget;
        if (!RunPrompt(source, isAbility, effect, cancelPaymentOnAbort, aborted))
            return nullptr;
        if (s_HostileTargetRefused)
            return nullptr;
        if (target.state == GRAVEYARD && target.owner == OWNER_SELF)
            OpenGraveyardList(source->GetOwner());
        else if (target.state == GRAVEYARD && target.owner == OWNER_OPPONENT)
            OpenGraveyardList(1 - source->GetOwner());
        if (!IsClickPending()) {
            s_TargetRejectSounded = false;
            return nullptr;
        }
        if (candidate == nullptr)
            return ChoosePlayer(source, target);
    }
    if (candidate == nullptr)
        return nullptr;
    const bool accepted = PassesTargetOwner(*source, *candidate, target.owner) &&
                          PassesTargetColour(*candidate, target.color) &&
                          PassesTargetState(*candidate, target.state) &&
                          PassesTargetType(*source, *candidate, target.type) &&
                          (candidate->m_Flags & ACTOR_FLAG_PREVIEW_COPY) == 0;
    if (!accepted) {
        if (!quiet && IsClickPending() && !s_TargetRejectSounded) {
            s_TargetRejectSounded = true;
            RejectTargetClick();
        }
        return nullptr;
    }
    // The prompt belongs to the learner's choice: a quiet test leaves it, its sound and its refusal alone.
    if (quiet)
        return candidate;
    ConsumeClick();
    TableSelection& selection = GetTableSelection();
    if (s_LandTargetPending && candidate->GetCardType() == CT_LAND)
        selection.selectedCard = nullptr;
    s_LandTargetPending = false;
    CloseGraveyardLists();
    if (IsTargetPromptOpen()) {
        if (RefuseHostilePick(source, candidate->GetOwner()))
            return nullptr;
        DeleteTargetPrompt();
    }
    return candidate;
}

bool IsLandTargetPending()
{
    return s_LandTargetPending;
}

void ClearLandTargetPending()
{
    s_LandTargetPending = false;
}

void ClearTargetChoiceState()
{
    s_TargetRejectSounded = false;
    s_HostileTargetRefused = false;
    s_LandTargetPending = false;
    DeleteTargetPrompt();
    CloseGraveyardLists();
}
