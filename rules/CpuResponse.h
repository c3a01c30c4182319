// The CPU's answers in the physical lesson: at most one activated ability or one instant per call, chosen by
// fixed rules over the turn, the stack and the table, paid and put on the stack.
#pragma once

class Actor;
class CardActor;

constexpr int CPU_RESPONSE_PREVIEW_MS = 3000;

// True when the CPU used an ability or cast an instant. With the countdown flag only counters are considered.
bool CpuRespond(bool countdown);
// Shows the card in the table's card preview for the duration.
void SetCpuResponse(CardActor* card, int durationMs);
struct CpuResponsePreview {
    CardActor* card = nullptr;
    int durationMs = 0;
    bool shown = false;
    bool cpuCard = false;
};
CpuResponsePreview& GetCpuResponsePreview();
bool GetCardBlockedFlag(const CardActor* card);

// Shared with the online lesson's own response routine.
CardActor* GetCpuActingCard();
const Actor* GetCpuDecisionKey();
CardActor* GetCpuLastCastCard();
void SetCpuLastCastCard(CardActor* card);
// Whether a decision key was used in the running exchange.
bool IsCpuResponseKeyUsed(const Actor* key);

void ForgetCpuResponseActor(const Actor* actor);
void ResetCpuResponseState();
