// The online lesson's menu: its basic and advanced games, more about the online game, the online client's
// launch with its confirmation, and back.
#pragma once

#include "screens/GameInterface.h"

#include <memory>

class MessageBoxInterface;

class OnlineMainInterface : public GameInterface {
public:
    OnlineMainInterface();
    ~OnlineMainInterface() override;

    void Update() override;
    bool HandleInput(const GUI_InputEvent& event) override;
    void OnAdded() override;

    MessageBoxInterface* GetConfirmBox() const { return m_pConfirmBox.get(); }

private:
    std::unique_ptr<MessageBoxInterface> m_pConfirmBox;
};
