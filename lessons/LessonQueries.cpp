#include "lessons/LessonQueries.h"

#include "cards/CardActor.h"
#include "cards/CardIds.h"
#include "cards/TableInput.h"
#include "engine/scene/Actor.h"
#include "gamestate/AdviceState.h"
#include "gamestate/LessonState.h"
#include "gamestate/PhysicalTurnState.h"
#include "gamestate/PlayerActors.h"
#include "gamestate/TableFlowState.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"
#include "gui/Messagebox.h"
#include "lessons/HandDemos.h"
#include "rules/GameQueries.h"
#include "rules/ManaPool.h"
#include "rules/PendingCards.h"
#include "rules/Usability.h"

#include <algorithm>
#include <string>

namespace {

constexpr int HUMAN_MAIN_PHASE = 5;

struct ExplainedCard {
    int id;
    int link;
};

// The cards that have their own explanation, and its index in the explanation-link table.
constexpr ExplainedCard EXPLAINED_CARDS[] = {
    {CD_SELOLBER, 11}, {CD_MAVUNTH, 12},  {CD_MAVOLNEL, 13}, {CD_TAVEVSAR, 14}, {CD_KAVORVIN, 15},
    {CD_WENUNMEL, 16}, {CD_ROSORWYN, 17}, {CD_JORISMAR, 18}, {CD_VEKAKDRE, 19}, {CD_ISTUMRIC, 20},
    {CD_ZOLENRIK, 21}, {CD_DRAAKNEL, 22}, {CD_ZOLORSAR, 23}, {CD_BRAANDRE, 24},
};
// Colours packed red, green, blue from the low byte.
constexpr std::uint32_t LINK_NOT_VISITED = 0x00C0FF;
constexpr std::uint32_t LINK_VISITED = 0xE0A000;
constexpr std::uint32_t LINK_HIGHLIGHTED = 0xFFD000;
constexpr std::uint32_t LINK_PRESSED = 255;
constexpr int LINK_FONT = 7;

std::vector<CardActor*> s_ManaBurnSources;

} // namespace

bool CanPlayCardNow(CardActor* card, bool ability)
{
    if (card == nullptr || !CanAffordCard(card, false, true) || !CanUseCardNow(card, false) ||
        !IsInstantUsefulNow(card, ability, true))
        return false;
    if (ability || card->GetCardType() != CT_CREATURE)
        return true;
    const Actor* const human = GetHumanPlayerActor();
    return human != nullptr && human->GetState() == HUMAN_MAIN_PHASE && s_StepFlag;
}

ManaCost& GetAvailableMana(ManaCost& out, int player)
{
    if (player == 0)
        UpdateHumanAvailableMana();
    else
        UpdateCpuAvailableMana();
    out = GetAvailableMana(player == 0 ? 0 : 1);
    return out;
}

void AddCardExplanationLink(Messagebox* box, const CardActor* card)
{
    if (box == nullptr || card == nullptr)
        return;
    const int id = card->GetId();
    const auto* const found = std::find_if(std::begin(EXPLAINED_CARDS), std::end(EXPLAINED_CARDS),
                                           [id](const ExplainedCard& entry) { return entry.id == id; });
    if (found != std::end(EXPLAINED_CARDS))
        AddExplanationLinkLabel(box, found->link);
}

void AddExplanationLinkLabel(Messagebox* box, int link)
{
    if (box == nullptr || link < 0)
        return;
    std::u16string caption;
    GetExplanationLinkText(caption, link);
    if (caption.empty())
        return;
    const std::uint32_t colour = IsExplanationLinkVisited(link) ? LINK_VISITED : LINK_NOT_VISITED;
    GUI_TextButton* const label =
        box->CreateTextButton(caption.c_str(), colour, LINK_HIGHLIGHTED, LINK_PRESSED, LINK_FONT, -1);
    label->SetTag(link);
}

bool IsHumanPlayAllowed()
{
    if (const CardActor* const dragged = GetDraggedCard(); dragged != nullptr && dragged->IsInLibrary())
        return false;
    if (GetUnaffordableCard() != nullptr || GetCardBeingPaid() != nullptr || GetMistimedCard() != nullptr ||
        GetTableFlow().cardDrawnByHand != nullptr || !IsHumanAllowedToAct())
        return false;
    return s_HumanTurn || GetFreePlayFlag() != 0;
}

std::vector<CardActor*>& GetManaBurnSources()
{
    return s_ManaBurnSources;
}

bool IsManaBurnSource(const CardActor* card)
{
    return card != nullptr && std::find(s_ManaBurnSources.begin(), s_ManaBurnSources.end(), card) !=
                                  s_ManaBurnSources.end();
}

void ClearManaBurnSources()
{
    s_ManaBurnSources.clear();
}

CardActor* GetDemoCarriedCard()
{
    return GetDemoCarry().card;
}

void GetDemoCarryStart(int& x, int& y)
{
    x = GetDemoCarry().startX;
    y = GetDemoCarry().startY;
}

void GetDemoCarrySize(int& width, int& height)
{
    width = GetDemoCarry().width;
    height = GetDemoCarry().height;
}
