#include "gui/CardSpecificDialog.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/StringTable.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/HintRegistry.h"
#include "gui/ExplanatoryWindow.h"
#include "gui/GUI_TextButton.h"
#include "platform/Platform.h"

#include <array>

namespace {

constexpr std::u16string_view FORMATTED_KEY_PREFIX = u"FMT_";
constexpr int LINK_FONT = 7;

} // namespace

CardSpecificDialog::CardSpecificDialog(int cardId, int owner, const char16_t* key, std::span<const int> links,
                                       int limit)
    : Messagebox(DIALOG_KIND_MESSAGEBOX), m_CardId(cardId), m_Owner(owner), m_Limit(limit)
{
    SetKind(CARD_DIALOG_KIND);
    SetScaledSize(CARD_DIALOG_WIDTH, CARD_DIALOG_HEIGHT);
    if (key != nullptr) {
        if (std::u16string_view(key).starts_with(FORMATTED_KEY_PREFIX))
            SetTextBlock(::GetFormattedText(key), true, true, 1, 1);
        else
            SetText(::GetString(key), false, false);
    }
    AddLinkButtons(links.data(), static_cast<int>(links.size()));
}

CardSpecificDialog::~CardSpecificDialog() = default;

void CardSpecificDialog::Refresh()
{
    Messagebox::Refresh();
    HintRegistry* const hints = GetHintRegistry();
    if (hints == nullptr)
        return;
    bool first = true;
    for (const std::u16string& voice : m_Voices) {
        hints->PlayVoiceLimited(voice, 1, first);
        first = false;
    }
}

bool CardSpecificDialog::TestEvent(int /*event*/, Actor* /*card*/)
{
    return false;
}

bool CardSpecificDialog::TestCardEvent(int /*event*/, Actor* /*card*/)
{
    return false;
}

bool CardSpecificDialog::IsExhausted() const
{
    return m_Limit >= 0 && m_ShownCount >= m_Limit;
}

bool CardSpecificDialog::IsReservedSlot() const
{
    return false;
}

bool CardSpecificDialog::IsAnswered() const
{
    return GetAnswer() >= 0;
}

void CardSpecificDialog::PlaceOnScreen()
{
    GetGameDisplay()->PlaceAdviceWindow(this);
}

void CardSpecificDialog::AddLinkButtons(const int* indices, int count)
{
    if (indices == nullptr)
        return;
    std::u16string caption;
    for (int i = 0; i < count; ++i) {
        const int link = indices[i];
        caption.clear();
        GetExplanationLinkText(caption, link);
        if (caption.empty())
            continue;
        const std::uint32_t colour = IsExplanationLinkVisited(link) ? LINK_COLOUR_VISITED : LINK_COLOUR_NEW;
        CreateTextButton(caption.c_str(), colour, LINK_COLOUR_HIGHLIGHTED, 255, LINK_FONT, -1)->SetTag(link);
    }
}

void CardSpecificDialog::SetVoice(std::u16string_view voice, std::u16string_view fallback)
{
    if (fallback.empty()) {
        m_Voices.emplace_back(voice);
        return;
    }
    const std::u16string name(voice);
    std::array<char16_t, VOICE_PATH_BUFFER> buffer{};
    std::size_t capacity = buffer.size();
    const LanguageManager* const language = GetLanguageManager();
    const char16_t* const path =
        language != nullptr ? language->GetLocalizedPath(buffer.data(), capacity, name.c_str()) : nullptr;
    if (path != nullptr && plat::IsReadable(path))
        m_Voices.push_back(name);
    else
        m_Voices.emplace_back(fallback);
}

void CardSpecificDialog::ClearVoices()
{
    m_Voices.clear();
}

void CardSpecificDialog::ReplaceVoice(std::u16string_view voice)
{
    ClearVoices();
    SetVoice(voice, u"");
}
