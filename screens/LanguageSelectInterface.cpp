#include "screens/LanguageSelectInterface.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/RegistrySettings.h"
#include "gui/GUI_Window.h"

#include <initializer_list>
#include <string_view>

namespace {

constexpr int ROW_GAP = 12;
constexpr int BOX_WIDTH = 235;

struct LanguageButton {
    std::u16string_view name;
    int id;  // 0: the Chinese id of the install
};
constexpr LanguageButton BUTTONS[] = {
    {u"btnLangEN", 1}, {u"btnLangCS", 0}, {u"btnLangDE", 3}, {u"btnLangES", 4}, {u"btnLangFR", 2},
    {u"btnLangIT", 6}, {u"btnLangPT", 5}, {u"btnLangKR", 11}, {u"btnLangRU", 7},
};

struct Placement {
    std::u16string_view name;
    int row;
    bool hidden;
};

} // namespace

int GetChineseLanguageId()
{
    const RegistrySettings* const settings = GetRegistrySettings();
    return settings != nullptr && settings->GetInt(u"InstallType", REGISTRY_PRODUCT_KEY) == 2 ? 10 : 9;
}

LanguageSelectInterface::LanguageSelectInterface()
{
    LoadFromFile(u"GUI\\Interfaces\\Language.GUI");
}

void LanguageSelectInterface::Setup(int installKind)
{
    m_InstallKind = installKind;
    GUI_Window* const box = FindWindow(u"winMessageBox", GUI_KIND_ANY);
    GUI_Window* const english = box != nullptr ? box->FindChild(u"btnLangEN", GUI_KIND_ANY) : nullptr;
    if (box == nullptr || english == nullptr)
        return;
    const int rowStep = english->GetHeight() + ROW_GAP;
    const int chinese = GetChineseLanguageId();
    // Only a language without its data is refused: every system this runs on shows all scripts.
    for (const LanguageButton& entry : BUTTONS) {
        if (GUI_Window* const button = box->FindChild(entry.name, GUI_KIND_ANY))
            button->SetDisabled(!HasLanguageData(entry.id == 0 ? chinese : entry.id));
    }
    const auto arrange = [&](std::initializer_list<Placement> placements, int boxHeight) {
        for (const Placement& placement : placements) {
            GUI_Window* const button = box->FindChild(placement.name, GUI_KIND_ANY);
            if (button == nullptr)
                continue;
            button->MoveTo(english->GetLeft(), english->GetTop() + placement.row * rowStep, true);
            button->SetHidden(placement.hidden);
        }
        box->SetSize(BOX_WIDTH, boxHeight);
    };
    switch (installKind) {
    case 1:
        arrange({{u"btnLangCS", 1, false}, {u"btnLangDE", 2, false}, {u"btnLangES", 3, false},
                 {u"btnLangFR", 4, false}, {u"btnLangIT", 5, false}, {u"btnLangPT", 6, false},
                 {u"btnLangKR", 7, true}, {u"btnLangRU", 7, true}},
                296);
        break;
    case 2:
        arrange({{u"btnLangCS", 1, false}, {u"btnLangKR", 2, false}, {u"btnLangDE", 3, true},
                 {u"btnLangES", 3, true}, {u"btnLangFR", 3, true}, {u"btnLangIT", 3, true},
                 {u"btnLangPT", 3, true}, {u"btnLangRU", 3, true}},
                146);
        break;
    case 3:
        arrange({{u"btnLangRU", 1, false}, {u"btnLangCS", 2, true}, {u"btnLangKR", 2, true},
                 {u"btnLangDE", 2, true}, {u"btnLangES", 2, true}, {u"btnLangFR", 2, true},
                 {u"btnLangIT", 2, true}, {u"btnLangPT", 2, true}},
                112);
        break;
    default:
        break;
    }
    box->Invalidate(true);
    CenterBox();
}

bool LanguageSelectInterface::HandleInput(const GUI_InputEvent& event)
{
    if (IsCommand(event)) {
        PlayClickEffect(event);
        m_Result = -1;
        for (const LanguageButton& entry : BUTTONS) {
            if (SenderIs(event, entry.name)) {
                m_Result = entry.id != 0 ? entry.id : (m_InstallKind == 1 ? 9 : 10);
                return true;
            }
        }
    }
    return GameInterface::HandleInput(event);
}
