#include "cards/TableScene.h"

#include "cards/GameLog.h"
#include "cards/TableInput.h"
#include "engine/scene/GameDisplay.h"

namespace {

TableSceneFields s_Fields;
PopupRect s_SavedPopupRect;

} // namespace

TableSceneFields& GetTableSceneFields()
{
    return s_Fields;
}

void ClearGameLog()
{
    GameLog::Clear();
}

void ResetHover()
{
    s_Fields.hoverReset = true;
    ResetTableInput();
}

void UpdatePopupDrag()
{
    GetGameDisplay()->DragMessageDialogs();
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

