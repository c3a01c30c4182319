#include "cards/LibraryDialog.h"

#include "engine/scene/GameDisplay.h"
#include "rules/PlayerState.h"

#include <algorithm>

namespace {

// The library lists' zones, human first.
constexpr int LIBRARY_ZONES[2] = {13, 12};

} // namespace

LibraryDialog::LibraryDialog(int player, int maximum) : CardListDialog(player, LIBRARY_DIALOG_KIND)
{
    const PlayerState* const state = GetPlayerState(player);
    const int left = state != nullptr ? state->m_LibraryCount - state->m_NextDrawIndex : 0;
    m_ShownCount = std::max(0, std::min(maximum, left));
}

LibraryDialog::~LibraryDialog() = default;

void LibraryDialog::FillCards()
{
    ClearCards();
    if (const PlayerState* const state = GetPlayerState(m_Player)) {
        // The library may have shrunk since the list was made: stop at its end.
        const int end = std::min({state->m_NextDrawIndex + m_ShownCount, state->m_LibraryCount, LIBRARY_CAPACITY});
        for (int i = std::max(0, state->m_NextDrawIndex); i < end; ++i) {
            AddCardById(state->m_Library[static_cast<std::size_t>(i)]);
        }
    }
    LayoutGrid();
}

void LibraryDialog::SetGridSize(int columns, int rows)
{
    CardListDialog::SetGridSize(columns, rows);
    FillCards();
}

void LibraryDialog::Relayout()
{
    if ((m_GridColumns < 1 || m_GridRows < 1) && (m_Player == 0 || m_Player == 1)) {
        const RasterRect& zone = GetGameDisplay()->GetZoneRectByIndex(LIBRARY_ZONES[m_Player]);
        SetRect(zone.left, zone.top, zone.right, zone.bottom, true);
    }
    CardListDialog::Relayout();
    FillCards();
}
