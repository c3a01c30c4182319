#include "screens/OnlineMainInterface.h"

#include "cards/TableScene.h"
#include "engine/core/OnlineClient.h"
#include "engine/scene/GameDisplay.h"
#include "engine/sound/VoiceQueue.h"
#include "gui/GUI_Manager.h"
#include "gui/GUI_Window.h"
#include "screens/MessageBoxInterface.h"
#include "screens/PhysicalMainInterface.h"

OnlineMainInterface::OnlineMainInterface()
{
    LoadFromFile(u"GUI\\Interfaces\\OnlineMain.GUI");
    m_pConfirmBox = std::make_unique<MessageBoxInterface>();
    m_pConfirmBox->SetHidden(true);
}

OnlineMainInterface::~OnlineMainInterface()
{
    if (GUI_Manager* const manager = GetGUIManager(); manager != nullptr && manager->HasInterface(m_pConfirmBox.get()))
        manager->RemoveInterface(m_pConfirmBox.get(), true);
}

void OnlineMainInterface::OnAdded()
{
    GameInterface::OnAdded();
    if (GUI_Window* const launch = FindWindow(u"btnLaunchVarrowOnline", GUI_KIND_ANY))
        launch->SetDisabled(!GetOnlineClientFolder(nullptr));
}

void OnlineMainInterface::Update()
{
    if (!m_pConfirmBox->IsHidden() && m_pConfirmBox->m_Result >= 0) {
        const int answer = m_pConfirmBox->m_Result;
        CloseOverlay(*m_pConfirmBox);
        if (answer == 0) {
            LaunchOnlineClient();
            return;
        }
    }
    GameInterface::Update();
}

bool OnlineMainInterface::HandleInput(const GUI_InputEvent& event)
{
    if (!m_pConfirmBox->IsHidden())
        return true;
    if (IsCommand(event)) {
        PlayClickEffect(event);
        GameDisplay* const display = GetGameDisplay();
        if (SenderIs(event, u"btnBasic")) {
            QueueVoice(u"data\\wavsonl\\b001d.wav", true);
            QueueVoice(u"data\\wavsonl\\b002.wav", false);
            display->SetScreen(5, true);
            ResetHover();
            return true;
        }
        if (SenderIs(event, u"btnAdvanced")) {
            QueueVoice(u"data\\wavsonl\\a001.wav", true);
            display->SetScreen(8, true);
            ResetHover();
            return true;
        }
        if (SenderIs(event, u"btnMoreAboutVarrowOnline")) {
            display->SetScreen(18, true);
            return true;
        }
        if (SenderIs(event, u"btnLaunchVarrowOnline")) {
            AskToLaunchOnlineClient(*m_pConfirmBox);
            return true;
        }
        if (SenderIs(event, u"btnBack")) {
            GoBack();
            return true;
        }
    }
    return GameInterface::HandleInput(event);
}
