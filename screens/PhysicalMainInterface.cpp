#include "screens/PhysicalMainInterface.h"

#include "engine/core/LanguageManager.h"
#include "engine/core/OnlineClient.h"
#include "engine/core/QuitRequest.h"
#include "engine/core/RegistrySettings.h"
#include "engine/scene/FrameState.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "cards/TableScene.h"
#include "gui/GUI_Button.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_TextButton.h"
#include "screens/LanguageSelectInterface.h"
#include "screens/MessageBoxInterface.h"

namespace {

bool s_bLanguageSelectOffered = false;

int InstallType()
{
    const RegistrySettings* const settings = GetRegistrySettings();
    return settings != nullptr ? settings->GetInt(u"InstallType", REGISTRY_PRODUCT_KEY) : 0;
}

bool IsShowing(const GameInterface* overlay)
{
    return overlay != nullptr && !overlay->IsHidden();
}

} // namespace

bool WasLanguageSelectOffered()
{
    return s_bLanguageSelectOffered;
}

void SetLanguageSelectOffered(bool offered)
{
    s_bLanguageSelectOffered = offered;
}

void AskToLaunchOnlineClient(MessageBoxInterface& box)
{
    box.SetText(u"FMT_ConfirmLaunchVarrowOnline");
    box.SetButtons(2);
    box.SetHidden(false);
    GUI_Manager* const manager = GetGUIManager();
    manager->AddInterface(&box);
    manager->SetActiveInterface(&box);
}

void CloseOverlay(GameInterface& overlay)
{
    GetGUIManager()->RemoveInterface(&overlay, true);
    overlay.SetHidden(true);
}

PhysicalMainInterface::PhysicalMainInterface()
{
    const bool loaded =
        LoadFromFile(InstallType() == 0 ? u"GUI\\Interfaces\\PhysicalOnlyMain.GUI" : u"GUI\\Interfaces\\PhysOnlyMain_LS.GUI");
    auto* const checkbox = WindowCast<GUI_TextButton>(FindWindow(u"chkLanguageSelect", GUI_KIND_TEXTBUTTON));
    if (checkbox == nullptr) {
        // A layout without the checkbox turns the offer off; a layout that could not be read says nothing about
        // the learner's choice, which stays stored.
        if (loaded)
            SetLanguageSelectChecked(false);
        else
            m_bLanguageSelect = false;
    } else {
        m_CheckedImage = checkbox->GetLook(LOOK_UP).file;
        m_UncheckedImage = checkbox->GetLook(LOOK_DISABLED).file;
        const RegistrySettings* const settings = GetRegistrySettings();
        SetLanguageSelectChecked(settings != nullptr && settings->GetInt(u"showlangselect") != 0);
        m_pLanguageSelect = std::make_unique<LanguageSelectInterface>();
        m_pLanguageSelect->SetHidden(true);
    }
    if (GetOnlineClientFolder(nullptr)) {
        m_pConfirmBox = std::make_unique<MessageBoxInterface>();
        m_pConfirmBox->SetHidden(true);
    }
}

PhysicalMainInterface::~PhysicalMainInterface()
{
    // The overlays may still be listed beside the menu.
    if (GUI_Manager* const manager = GetGUIManager()) {
        if (m_pConfirmBox && manager->HasInterface(m_pConfirmBox.get()))
            manager->RemoveInterface(m_pConfirmBox.get(), true);
        if (m_pLanguageSelect && manager->HasInterface(m_pLanguageSelect.get()))
            manager->RemoveInterface(m_pLanguageSelect.get(), true);
    }
}

void PhysicalMainInterface::SetLanguageSelectChecked(bool checked)
{
    m_bLanguageSelect = checked;
    if (RegistrySettings* const settings = GetRegistrySettings())
        settings->SetInt(u"showlangselect", checked ? 1 : 0);
    UpdateCheckboxImage();
}

bool PhysicalMainInterface::ToggleLanguageSelect()
{
    SetLanguageSelectChecked(!m_bLanguageSelect);
    return m_bLanguageSelect;
}

void PhysicalMainInterface::UpdateCheckboxImage()
{
    auto* const checkbox = WindowCast<GUI_TextButton>(FindWindow(u"chkLanguageSelect", GUI_KIND_TEXTBUTTON));
    if (checkbox == nullptr || checkbox->IsHidden())
        return;
    const std::u16string& image = m_bLanguageSelect ? m_CheckedImage : m_UncheckedImage;
    checkbox->SetUpImage(image, true);
    checkbox->SetMouseOverImage(image, true);
}

void PhysicalMainInterface::OfferLanguageSelect()
{
    m_pLanguageSelect->SetHidden(false);
    GUI_Manager* const manager = GetGUIManager();
    if (!manager->HasInterface(m_pLanguageSelect.get())) {
        manager->AddInterface(m_pLanguageSelect.get());
        manager->SetActiveInterface(m_pLanguageSelect.get());
    }
    m_pLanguageSelect->Setup(InstallType());
    s_bLanguageSelectOffered = true;
}

void PhysicalMainInterface::Refresh()
{
    if (m_pLanguageSelect) {
        if (!IsShowing(m_pConfirmBox.get()) && m_bLanguageSelect && !s_bLanguageSelectOffered)
            OfferLanguageSelect();
    }
    GameInterface::Refresh();
}

void PhysicalMainInterface::Update()
{
    if (IsShowing(m_pLanguageSelect.get()) && m_pLanguageSelect->m_Result != -1) {
        const int language = m_pLanguageSelect->m_Result;
        CloseOverlay(*m_pLanguageSelect);
        // The main loop reloads the scene, and with it the language's data.
        s_RequestedGameMode = 0;
        s_GameMode = -1;
        GetLanguageManager()->SetLanguage(language, true);
    }
    if (IsShowing(m_pConfirmBox.get()) && m_pConfirmBox->m_Result >= 0) {
        const int answer = m_pConfirmBox->m_Result;
        CloseOverlay(*m_pConfirmBox);
        if (answer == 0) {
            LaunchOnlineClient();
            return;
        }
    }
    if (!m_pConfirmBox) {
        if (GUI_Window* const launch = FindWindow(u"btnLaunchVarrowOnline", GUI_KIND_ANY))
            launch->SetHidden(true);
    }
    GameInterface::Update();
}

bool PhysicalMainInterface::HandleInput(const GUI_InputEvent& event)
{
    if (IsShowing(m_pConfirmBox.get()))
        return true;
    if (IsCommand(event)) {
        PlayClickEffect(event);
        GameDisplay* const display = GetGameDisplay();
        if (SenderIs(event, u"btnBasic")) {
            display->SetScreen(11, true);
            ResetHover();
            QueueVoice(u"vo_phys\\basic_splash_1a.wav", true);
            return true;
        }
        if (SenderIs(event, u"btnAdvanced")) {
            display->SetScreen(14, false);
            ResetHover();
            QueueVoice(u"vo_phys\\adv_splash1.wav", true);
            return true;
        }
        if (SenderIs(event, u"btnLearnMore")) {
            display->SetScreen(4, false);
            return true;
        }
        if (SenderIs(event, u"btnOnline")) {
            display->SetScreen(2, false);
            return true;
        }
        if (SenderIs(event, u"btnLaunchVarrowOnline")) {
            if (m_pConfirmBox)
                AskToLaunchOnlineClient(*m_pConfirmBox);
            return true;
        }
        if (SenderIs(event, u"btnQuit")) {
            PostQuitMessage(0);
            return true;
        }
        if (SenderIs(event, u"chkLanguageSelect")) {
            if (ToggleLanguageSelect() && m_pLanguageSelect)
                OfferLanguageSelect();
            return true;
        }
    }
    return GameInterface::HandleInput(event);
}
