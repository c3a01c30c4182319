#include "cards/TableScene.h"

#include "cards/GameLog.h"

namespace {

TableSceneFields s_Fields;
PopupRect s_SavedPopupRect;

} // namespace

TableSceneFields& GetTableSceneFields()
{
    return s_Fields;
}

void DestroyAllCardWindows()
{
}

void ClearGameLog()
{
    GameLog::Clear();
}

void ResetHover()
{
    s_Fields.hoverReset = true;
}

void ClearTableEffectWords()
{
}

void RestartCameraClock()
{
}

void UpdatePopupDrag()
{
}

void UpdateHandCards()
{
}

void UpdateWindowBindings()
{
}

bool UpdateCardZoom()
{
    return false;
}

void UpdateCardUnderCursor()
{
}

void DrawCardPreview()
{
}

void UpdateLibraryDraw()
{
}

void FlushActorRemovals()
{
}

PopupRect& GetSavedPopupRect()
{
    return s_SavedPopupRect;
}

void SavePopupRect()
{
}

void RestorePopupRect(const PopupRect& /*rect*/)
{
}

// A table without a life token never holds the stack back.
bool IsLifeTokenReady()
{
    return true;
}

void ChangeLifeTotal(int /*player*/, int /*delta*/)
{
}
