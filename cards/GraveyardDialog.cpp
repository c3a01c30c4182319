#include "cards/GraveyardDialog.h"

#include "cards/CardWindows.h"
#include "engine/core/StringTable.h"
#include "engine/scene/GameDisplay.h"
#include "gui/TextButton.h"
#include "rules/PlayerState.h"

#include <algorithm>

namespace {

// The players' graveyard zones, human first.
constexpr int GRAVEYARD_ZONES[2] = {27, 18};

} // namespace

GraveyardDialog::GraveyardDialog(int player) : CardListDialog(player, GRAVEYARD_DIALOG_KIND)
{
    AddButton(::GetString(u"STR_BUTTON_Close"), PackColour(255, 255, 255), PackColour(224, 248, 248),
              PackColour(36, 83, 83), MESSAGEBOX_BUTTON_FONT, -1, -1);
}

GraveyardDialog::~GraveyardDialog() = default;

void GraveyardDialog::FillCards()
{
    ClearCards();
    if (const PlayerState* const state = GetPlayerState(m_Player)) {
        const int count = std::clamp(state->m_GraveyardCount, 0, GRAVEYARD_CAPACITY);
        for (int i = 0; i < count; ++i) {
            if (CardActor* const card = state->m_Graveyard[static_cast<std::size_t>(i)])
                AddCardWindow(card);
        }
    }
    LayoutGrid();
}

void GraveyardDialog::SetGridSize(int columns, int rows)
{
    CardListDialog::SetGridSize(columns, rows);
    FillCards();
}

void GraveyardDialog::Relayout()
{
    if ((m_GridColumns < 1 || m_GridRows < 1) && (m_Player == 0 || m_Player == 1)) {
        const RasterRect& zone = GetGameDisplay()->GetZoneRectByIndex(GRAVEYARD_ZONES[m_Player]);
        SetRect(zone.left, zone.top, zone.right, zone.bottom, true);
    }
    CardListDialog::Relayout();
    FillCards();
}

bool GraveyardDialog::HandleInput(const GUI_InputEvent& event)
{
    const bool handled = CardListDialog::HandleInput(event);
    // The Close button's answer closes the list; the table defers deleting it until the click is dispatched.
    if (event.type == GUI_EVENT_COMMAND && GetAnswer() >= 0) {
        ClearClickedButton();
        CloseGraveyardDialog(m_Player);
    }
    return handled;
}
