// The human's blocks in the physical lesson: a creature dragged onto a CPU attacker, checked before it blocks.
#pragma once

class CardActor;

// Why a drop of the blocker on the target is refused. A refusal without a key is silent.
struct BlockRefusal {
    int row = 0;  // 0 accepted
    const char16_t* key = nullptr;
    const char16_t* voice = nullptr;
    int explanationLink = -1;
};
BlockRefusal CheckPhysicalBlock(const CardActor& blocker, const CardActor& target);

// One frame of the block declaration while the CPU attacks; true when the driver's frame ends here.
bool DeclarePhysicalBlocks();
// The refused blocker and the attacker it was dropped on, kept while the error box is up.
CardActor* GetBadBlocker();
CardActor* GetBadBlockTarget();
CardActor* GetBlockerInHand();
void ResetPhysicalBlocks();
