// Placeholder until the dialog manager exists: there are no dialogs to feed.
#include "gui/DialogManager.h"

void PostDialogEvent(int /*event*/, Actor* /*card*/)
{
}
