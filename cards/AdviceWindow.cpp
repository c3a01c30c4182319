// Where the lesson boxes open: the learner may move a box and later boxes open where it was left.
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "gamestate/Intro.h"
#include "gui/Dialog.h"

void GameDisplay::PlaceAdviceWindow(Dialog* box)
{
    if (box == nullptr)
        return;
    if (!IsIntroFinished()) {
        box->CenterOnScreen();
        return;
    }
    if (m_LastLessonBoxX < 0 || m_LastLessonBoxY < 0) {
        const bool online = s_GameMode > 2;
        RasterRect area;
        if (online)
            GetPlayAreaRect(area);
        else
            GetOpponentPlayArea(area);
        m_LastLessonBoxX = area.right - box->GetWidth() - 5;
        m_LastLessonBoxY = online ? area.top - box->GetHeight() / 2 : area.top;
    }
    box->MoveTo(m_LastLessonBoxX, m_LastLessonBoxY, true);
}
