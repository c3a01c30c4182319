#include "rules/Targets.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "engine/scene/FrameState.h"
#include "rules/TargetPrompt.h"
#include "rules/ManaCost.h"

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
        // The learner's choice with the mouse comes with the target prompt.
        Actor* const chosen = RunTargetPrompt(source, candidate, isAbility, cancelPaymentOnAbort, aborted);
        if (chosen == nullptr || s_HostileTargetRefused)
            return nullptr;
        if (chosen != candidate)
            return chosen;
    }
    if (candidate == nullptr)
        return nullptr;
    const bool accepted = PassesTargetOwner(*source, *candidate, target.owner) &&
                          PassesTargetColour(*candidate, target.color) &&
                          PassesTargetState(*candidate, target.state) &&
                          PassesTargetType(*source, *candidate, target.type) &&
                          (candidate->m_Flags & ACTOR_FLAG_PREVIEW_COPY) == 0;
    if (!accepted) {
        if (!quiet && !s_TargetRejectSounded) {
            s_TargetRejectSounded = true;
            RejectTargetClick();
        }
        return nullptr;
    }
    if (!quiet) {
        s_LandTargetPending = false;
        const char16_t* key = nullptr;
        if (IsHostileTargetOfOwn(source, candidate->GetOwner(), &key)) {
            s_HostileTargetRefused = true;
            RefuseHostileTarget(key);
            return nullptr;
        }
        CloseTargetPromptAfterChoice();
    }
    return candidate;
}

bool IsLandTargetPending()
{
    return s_LandTargetPending;
}

void ClearTargetChoiceState()
{
    s_TargetRejectSounded = false;
    s_HostileTargetRefused = false;
    s_LandTargetPending = false;
}
