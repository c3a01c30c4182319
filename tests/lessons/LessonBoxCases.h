// What the lesson-box tests share: texts that read as their own keys, so a box shows which key it was given, and
// whether a clip was spoken since the play counts were last cleared.
#pragma once

#include "engine/core/StringTable.h"
#include "engine/scene/FrameState.h"
#include "engine/sound/HintRegistry.h"
#include "gui/Messagebox.h"
#include "lessons/LessonBox.h"

#include <initializer_list>
#include <string>

namespace lessontest {

// Dialogs keep themselves on the screen rectangle the raster sets; a table test without a raster gives them the
// 800 x 600 screen for its lifetime.
class DialogScreen {
public:
    DialogScreen() : m_saved(s_ScreenRect) { s_ScreenRect = RasterRect{0, 0, 800, 600}; }
    ~DialogScreen() { s_ScreenRect = m_saved; }
    DialogScreen(const DialogScreen&) = delete;
    DialogScreen& operator=(const DialogScreen&) = delete;

private:
    RasterRect m_saved;
};

inline void KeysAsTexts(std::initializer_list<const char16_t*> keys)
{
    for (const char16_t* key : keys)
        AddString(key, key);
}

// True once when the clip was counted by PlayVoiceLimited since the counts were cleared.
inline bool WasSpoken(const char16_t* clip)
{
    return !GetHintRegistry()->PlayVoiceLimited(clip, 1, false);
}

// The text of the registered lesson box, empty when none is up.
inline std::u16string ShownText()
{
    return IsLessonBoxShowing() ? GetLessonBox()->GetText() : std::u16string();
}

inline int ShownKind()
{
    return IsLessonBoxShowing() ? GetLessonBox()->GetKindNumber() : -100;
}

} // namespace lessontest
