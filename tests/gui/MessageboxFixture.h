// A message box scene: the screen rectangle, the standard buttons' face textures under their names, and the
// string-table texts the boxes look up.
#pragma once

#include "tests/gui/GuiFixture.h"

#include "engine/core/StringTable.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/ScriptParser.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"
#include "gui/TextButton.h"
#include "gui/Messagebox.h"

namespace guitest {

constexpr int BUTTON_HEIGHT = 20;

class MessageboxFixture : public GuiFixture {
protected:
    void SetUp() override
    {
        GuiFixture::SetUp();
        s_ScreenRect = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
        WriteImage("face.bmp", 8, BUTTON_HEIGHT, 0x404040);
        const int face = GetGameDisplay()->LoadBitmapTexture(u"face.bmp");
        for (const char16_t* const name : DIALOG_BUTTON_FACES) {
            AddTextureName(name, face);
        }
        for (const auto& [key, text] : STRINGS) {
            AddString(key, text);
        }
        ResetExplanationLinksVisited();
    }
    void TearDown() override
    {
        for (const char16_t* const name : DIALOG_BUTTON_FACES) {
            RemoveTextureName(name);
        }
        ClearStringTables();
        s_ScreenRect = RasterRect{};
        GuiFixture::TearDown();
    }

    // A box with no skin (the test folder has none): insets 0, margins 5.
    static std::unique_ptr<Messagebox> MakeBox(int left, int top, int right, int bottom)
    {
        auto box = std::make_unique<Messagebox>();
        box->SetRect(left, top, right, bottom, true);
        return box;
    }

    // A full click (press, release) at the point, through the manager as the window delivers it.
    static void Click(int x, int y)
    {
        GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_MOVE, x, y));
        GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_LEFT_DOWN, x, y, GUI_KEY_LBUTTON));
        GetGUIManager()->DispatchEvent(Mouse(GUI_MOUSE_LEFT_UP, x, y));
    }
    static void ClickWindow(const GUI_Window* window)
    {
        Click((window->GetLeft() + window->GetRight()) / 2, (window->GetTop() + window->GetBottom()) / 2);
    }

    static constexpr std::pair<const char16_t*, const char16_t*> STRINGS[] = {
        {u"STR_OK", u"OK"},
        {u"STR_Cancel", u"Cancel"},
        {u"STR_Yes", u"Yes"},
        {u"STR_No", u"No"},
        {u"QuitGameWarning", u"Do you really want to quit the game?"},
        {u"PHYSEXPL_LINK_ACTIVATEDABILITY", u"Activated abilities"},
        {u"PHYSEXPL_TEXT_ACTIVATEDABILITY", u"Some permanents have abilities you can use."},
        {u"PHYSEXPL_LINK_FLYING", u"Flying"},
        {u"PHYSEXPL_TEXT_FLYING", u"A flyer can only be blocked by flyers."},
        {u"PHYSEXPL_LINK_INSTANT", u"Instants"},
        {u"PHYSEXPL_TEXT_INSTANT", u"An instant can be cast at almost any time."},
        {u"PHYSEXPL_LINK_RESPOND", u"Responding"},
        {u"PHYSEXPL_TEXT_RESPOND", u"You may answer a spell with a spell of your own."},
        {u"PHYSEXPL_LINK_ARTIFACT", u"Artifacts"},
        {u"PHYSEXPL_TEXT_ARTIFACT", u"Artifacts are colourless."},
        {u"PHYSEXPL_LINK_SHOWLANDS", u"Show me the lands"},
    };
};

} // namespace guitest
