#include "gui/ExplanatoryWindow.h"

#include "engine/core/StringTable.h"
#include "engine/raster/Raster.h"
#include "engine/raster/RasterText.h"
#include "gui/GUI_TextButton.h"
#include "gui/TextButton.h"

#include <array>

namespace {

struct ExplanationLink {
    const char16_t* caption;
    const char16_t* text;
    int related[2];
};

const ExplanationLink LINKS[EXPLANATION_LINK_COUNT] = {
    {u"PHYSEXPL_LINK_ENCHANTMENT", u"PHYSEXPL_TEXT_ENCHANTMENT", {-1, -1}},
    {u"PHYSEXPL_LINK_CREATUREENCHANTMENT", u"PHYSEXPL_TEXT_CREATUREENCHANTMENT", {-1, -1}},
    {u"PHYSEXPL_LINK_ACTIVATEDABILITY", u"PHYSEXPL_TEXT_ACTIVATEDABILITY", {4, -1}},
    {u"PHYSEXPL_LINK_FLYING", u"PHYSEXPL_TEXT_FLYING", {-1, -1}},
    {u"PHYSEXPL_LINK_INSTANT", u"PHYSEXPL_TEXT_INSTANT", {5, -1}},
    {u"PHYSEXPL_LINK_RESPOND", u"PHYSEXPL_TEXT_RESPOND", {4, 2}},
    {u"PHYSEXPL_LINK_REGENERATION", u"PHYSEXPL_TEXT_REGENERATION", {-1, -1}},
    {u"PHYSEXPL_LINK_ARTIFACT", u"PHYSEXPL_TEXT_ARTIFACT", {2, 0}},
    {u"PHYSEXPL_LINK_SHOWCREATURES", u"PHYSEXPL_LINK_SHOWCREATURES", {-1, -1}},
    {u"PHYSEXPL_LINK_SHOWSORCERIES", u"PHYSEXPL_LINK_SHOWSORCERIES", {-1, -1}},
    {u"PHYSEXPL_LINK_SHOWLANDS", u"PHYSEXPL_LINK_SHOWLANDS", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_SELOLBER", u"FMT_PHYSEXPL_TEXT_CARD_SELOLBER", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_MAVUNTH", u"FMT_PHYSEXPL_TEXT_CARD_MAVUNTH", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_MAVOLNEL", u"FMT_PHYSEXPL_TEXT_CARD_MAVOLNEL", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_TAVEVSAR", u"FMT_PHYSEXPL_TEXT_CARD_TAVEVSAR", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_KAVORVIN", u"FMT_PHYSEXPL_TEXT_CARD_KAVORVIN", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_WENUNMEL", u"FMT_PHYSEXPL_TEXT_CARD_WENUNMEL", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_ROSORWYN", u"FMT_PHYSEXPL_TEXT_CARD_ROSORWYN", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_JORISMAR", u"FMT_PHYSEXPL_TEXT_CARD_JORISMAR", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_VEKAKDRE", u"FMT_PHYSEXPL_TEXT_CARD_VEKAKDRE", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_ISTUMRIC", u"FMT_PHYSEXPL_TEXT_CARD_ISTUMRIC", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_ZOLENRIK", u"FMT_PHYSEXPL_TEXT_CARD_ZOLENRIK", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_DRAAKNEL", u"FMT_PHYSEXPL_TEXT_CARD_DRAAKNEL", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_ZOLORSAR", u"FMT_PHYSEXPL_TEXT_CARD_ZOLORSAR", {-1, -1}},
    {u"PHYSEXPL_LINK_CARD_BRAANDRE", u"FMT_PHYSEXPL_TEXT_CARD_BRAANDRE", {-1, -1}},
};

std::array<bool, EXPLANATION_LINK_COUNT> s_Visited{};

bool IsLink(int link)
{
    return link >= 0 && link < EXPLANATION_LINK_COUNT;
}

const char16_t* const EXPLANATION_BUTTON_FACES[12] = {
    u"physwbbtn-l",      u"physwbbtn-c",      u"physwbbtn-r",      u"physwbbtn-l_mo",
    u"physwbbtn-c_mo",   u"physwbbtn-r_mo",   u"physwbbtn-l_down", u"physwbbtn-c_down",
    u"physwbbtn-r_down", u"physwbbtn-l_disabled", u"physwbbtn-c_disabled", u"physwbbtn-r_disabled",
};

} // namespace

void ResetExplanationLinksVisited()
{
    s_Visited.fill(false);
}

bool IsExplanationLinkVisited(int link)
{
    return IsLink(link) && s_Visited[static_cast<std::size_t>(link)];
}

void GetExplanationLinkText(std::u16string& out, int link)
{
    out.clear();
    if (!IsLink(link))
        return;
    if (const char16_t* const text = ::GetString(LINKS[link].caption))
        out = text;
}

void GetExplanationTextKey(std::u16string& out, int link)
{
    out = IsLink(link) ? LINKS[link].text : u"";
}

ExplanatoryWindow::ExplanatoryWindow() : Messagebox(DIALOG_KIND_MESSAGEBOX)
{
    const bool is565 = GetRaster()->Is565();
    m_FillColour = ColorRefToPixel(PackColour(255, 251, 148), is565);
    m_FrameColour = ColorRefToPixel(PackColour(0, 0, 0), is565);
    SetFrameTextures(-1, -1, -1, -1, -1, -1, -1, -1, -1);
    SetTextColor(0, 0, 0);
    SetSkin(u"", true, false);
}

std::unique_ptr<TextButton> ExplanatoryWindow::NewButton()
{
    std::unique_ptr<TextButton> button = Messagebox::NewButton();
    button->SetShadow(false);
    button->SetDisabledColour(PackColour(128, 128, 0));
    button->SetFaceNames(EXPLANATION_BUTTON_FACES);
    return button;
}

void ExplanatoryWindow::DrawBackground()
{
    GetRaster()->FillRect(static_cast<float>(m_Left), static_cast<float>(m_Top), static_cast<float>(m_Right),
                          static_cast<float>(m_Bottom), m_Depth, m_FillColour);
}

void ExplanatoryWindow::DrawFrame()
{
    Raster* const raster = GetRaster();
    const auto l = static_cast<float>(m_Left);
    const auto t = static_cast<float>(m_Top);
    const auto r = static_cast<float>(m_Right);
    const auto b = static_cast<float>(m_Bottom);
    raster->FillRect(l, t, r, t + 1, m_Depth, m_FrameColour);
    raster->FillRect(l, b - 1, r, b, m_Depth, m_FrameColour);
    raster->FillRect(l, t, l + 1, b, m_Depth, m_FrameColour);
    raster->FillRect(r - 1, t, r, b, m_Depth, m_FrameColour);
}

void ExplanatoryWindow::SetExplanation(int link)
{
    if (!IsLink(link))
        return;
    ClearButtons();
    const std::u16string_view key = LINKS[link].text;
    if (key.substr(0, 4) != u"FMT_")
        SetText(::GetString(key), false, false);
    else
        SetTextBlock(::GetFormattedText(key), true, true, 1, 1);
    AddRelatedLinks(link);
    AddButton(::GetString(u"STR_OK"), PackColour(48, 48, 0), PackColour(32, 32, 0), PackColour(64, 64, 0), 8, -1,
              -1);
    if (GetWidth() < GetExtraWindowsWidth())
        SetSize(GetExtraWindowsWidth(), GetHeight());
    AutoSize();
    s_Visited[static_cast<std::size_t>(link)] = true;
}

void ExplanatoryWindow::AddRelatedLinks(int link)
{
    ClearExtraWindows();
    if (!IsLink(link))
        return;
    for (const int related : LINKS[link].related) {
        if (related < 0)
            continue;
        std::u16string caption;
        GetExplanationLinkText(caption, related);
        if (caption.empty())
            continue;
        const std::uint32_t normal =
            IsExplanationLinkVisited(related) ? PackColour(224, 160, 0) : PackColour(160, 0, 0);
        GUI_TextButton* const window = CreateTextButton(caption.c_str(), normal, PackColour(255, 96, 0),
                                                        PackColour(0, 64, 192), 7, -1);
        window->SetTag(related);
    }
}
