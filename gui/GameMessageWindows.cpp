// The display's in-game message windows: requested anew every frame under a key, each shown through an old
// dialog kept per key, drawn at the end of the frame with the game windows; a click on a message button is
// reported by the message id of the request it answered.
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/Wave.h"
#include "gui/GUI_Manager.h"
#include "gui/GameWindowRegistry.h"
#include "gui/Messagebox.h"
#include "gui/OldButton.h"
#include "gui/OldDialog.h"

#include <limits>

namespace {

constexpr int FULL_VOLUME = 255;

void DeleteOldDialog(OldDialog* dialog)
{
    delete dialog;
}

const char16_t* NullWhenEmpty(const std::u16string& text)
{
    return text.empty() ? nullptr : text.c_str();
}

bool IsQuitPromptUp()
{
    return IsQuitPromptOpen() || IsQuitConfirmed();
}

} // namespace

int GameDisplay::AddMessageWindow(int key, int priority, const char16_t* text, int width, int height,
                                  const std::vector<std::u16string>* lines, bool hasPosition, int x, int y,
                                  int buttonMode, const char16_t* normalImage, const char16_t* hoverImage,
                                  const char16_t* rightHoverImage, int clickEffect, int libraryPlayer, int cardCount)
{
    if (hasPosition)
        GetMessageDialog(key)->SetSize(width, height, true, x, y);
    const bool noText = text == nullptr || text[0] == u'\0';
    if (noText && buttonMode == 0)
        return -1;
    const auto stored = m_MessageRecords.find(key);
    if (stored != m_MessageRecords.end() && priority < stored->second.priority)
        return -1;
    MessageRecord& record = m_MessageRecords[key];
    record.messageId = m_NextMessageId;
    // Ids wrap to 0 rather than overflow.
    m_NextMessageId = m_NextMessageId == std::numeric_limits<int>::max() ? 0 : m_NextMessageId + 1;
    record.priority = priority;
    record.text = noText ? std::u16string() : std::u16string(text);
    record.lines = lines != nullptr ? *lines : std::vector<std::u16string>();
    record.width = width;
    record.height = height;
    record.hasPosition = hasPosition;
    if (hasPosition) {
        record.x = x;
        record.y = y;
    }
    record.buttonMode = buttonMode;
    record.normalImage = normalImage != nullptr ? normalImage : u"";
    record.hoverImage = hoverImage != nullptr ? hoverImage : u"";
    record.rightHoverImage = rightHoverImage != nullptr ? rightHoverImage : u"";
    record.clickEffect = clickEffect;
    record.libraryPlayer = libraryPlayer;
    record.cardCount = cardCount;
    return record.messageId;
}

OldDialog* GameDisplay::GetMessageDialog(int key)
{
    auto found = m_MessageDialogs.find(key);
    if (found == m_MessageDialogs.end()) {
        MessageDialogPtr dialog(new OldDialog(), DeleteOldDialog);
        const std::array<int, FRAME_TEXTURE_COUNT>& frame = m_FrameTextures;
        dialog->SetFrameTextures(frame[0], frame[1], frame[2], frame[3], frame[4], frame[5], frame[6], frame[7],
                                 frame[8]);
        found = m_MessageDialogs.emplace(key, std::move(dialog)).first;
    }
    return found->second.get();
}

void GameDisplay::UpdateMessageDialogs()
{
    for (const auto& [key, record] : m_MessageRecords) {
        OldDialog* const dialog = GetMessageDialog(key);
        dialog->SetSize(record.width, record.height, record.hasPosition, record.x, record.y);
        dialog->SetButtons(record.buttonMode, NullWhenEmpty(record.normalImage), NullWhenEmpty(record.hoverImage),
                           NullWhenEmpty(record.rightHoverImage), static_cast<std::uint32_t>(record.clickEffect),
                           record.libraryPlayer, record.cardCount);
        dialog->SetText(record.text);
        dialog->SetTextBlock(u"", true);
        dialog->SetLines(record.lines.empty() ? nullptr : &record.lines);
        dialog->SetMessageId(record.messageId);
        dialog->Draw();
    }
    m_MessageRecords.clear();
    if (IsQuitPromptUp())
        return;
    const GUI_Window* const quitBox = GetQuitWarningBox();
    for (GUI_Window* const window : std::vector<GUI_Window*>(m_GameWindows)) {
        if (!IsWindowRegistered(window))
            continue;
        if (quitBox == nullptr || window == quitBox)
            window->Draw();
    }
}

void GameDisplay::CheckMessageButtonClick()
{
    m_LastReplyId = -1;
    m_LastReplyAnswer = 0;
    const int x = MouseState.x;
    const int y = MouseState.y;
    if (x < 0 || x >= s_ScreenRect.right || y < 0 || y >= s_ScreenRect.bottom || MouseState.leftClicked == 0)
        return;
    GUI_Window* const window = GetGUIManager()->GetWindowAt(x, y);
    if (window == nullptr || window->GetKind() != OLD_BUTTON_KIND)
        return;
    const OldButton* const button = WindowCast<OldButton>(window);
    if (button == nullptr)
        return;
    MouseState.leftClicked = 0;
    if (button->GetClickEffect() != 0)
        PlayEffect(static_cast<int>(button->GetClickEffect()), FULL_VOLUME, 0, 0, 0, nullptr);
    GUI_Window* const parent = button->GetParent();
    if (parent == nullptr || parent->GetKind() != OLD_DIALOG_KIND)
        return;
    if (const OldDialog* const dialog = WindowCast<OldDialog>(parent)) {
        m_LastReplyId = dialog->GetMessageId();
        m_LastReplyAnswer = dialog->GetAnswer();
    }
}

void GameDisplay::RegisterMessageDialogs()
{
    GUI_Manager* const manager = GetGUIManager();
    for (const auto& entry : m_MessageRecords) {
        OldDialog* const dialog = GetMessageDialog(entry.first);
        dialog->Update();
        manager->RegisterWindow(dialog, true);
        m_RegisteredMessageDialogs.push_back(dialog);
    }
    if (IsQuitPromptUp())
        return;
    const GUI_Window* const quitBox = GetQuitWarningBox();
    for (GUI_Window* const window : std::vector<GUI_Window*>(m_GameWindows)) {
        if (!IsWindowRegistered(window) || (quitBox != nullptr && window != quitBox))
            continue;
        window->Update();
        manager->BringToFront(window);
    }
}

void GameDisplay::UnregisterMessageDialogs()
{
    GUI_Manager* const manager = GetGUIManager();
    for (OldDialog* const dialog : m_RegisteredMessageDialogs) {
        manager->UnregisterWindow(dialog);
    }
    m_RegisteredMessageDialogs.clear();
}

bool GameDisplay::DragMessageDialogs()
{
    for (const auto& entry : m_MessageDialogs) {
        if (entry.second->UpdateDrag())
            return true;
    }
    return false;
}
