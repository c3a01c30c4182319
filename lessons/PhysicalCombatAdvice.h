// The physical lesson's combat advice: the learner's attack, the CPU's blocks explained in the opponent's
// balloon, the blocking advice against the CPU's attack, the CPU's announcement and declaration of its attack,
// and the combat-damage box. Each returns whether the calling driver may run its step this frame.
#pragma once

class Actor;

// While the human attacks, for either side.
bool ExplainCpuBlocks(int side);
// While the CPU attacks, for either side.
bool AdviseBlockers(int side);
// The learner declares attackers (human step 7).
bool AdviseHumanAttack(Actor* human);
// The CPU's announcement (step 6) and declaration (step 7) of its attack.
bool AnnounceCpuAttack(Actor* cpu);
bool DeclareCpuAttack(Actor* cpu);
// Combat damage in step 13 of the side's own actor.
bool AdviseCombatDamage(int side);
// Whether the human's or the CPU's attack is under way for the gate.
bool IsHumanAttackUnderWay();
bool IsCpuAttackUnderWay();
