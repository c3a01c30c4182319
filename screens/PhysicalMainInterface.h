// The home screen: the physical lesson's basic and advanced games, the learn-more and online menus, the online
// client's launch with its confirmation, quitting, and the language-choice checkbox with its overlay.
#pragma once

#include "screens/GameInterface.h"

#include <memory>
#include <string>

class LanguageSelectInterface;
class MessageBoxInterface;

class PhysicalMainInterface : public GameInterface {
public:
    PhysicalMainInterface();
    ~PhysicalMainInterface() override;

    void Update() override;
    bool HandleInput(const GUI_InputEvent& event) override;
    void Refresh() override;

    void SetLanguageSelectChecked(bool checked);
    bool ToggleLanguageSelect();
    void UpdateCheckboxImage();

    LanguageSelectInterface* GetLanguageSelect() const { return m_pLanguageSelect.get(); }
    MessageBoxInterface* GetConfirmBox() const { return m_pConfirmBox.get(); }
    bool IsLanguageSelectChecked() const { return m_bLanguageSelect; }

private:
    void OfferLanguageSelect();

    bool m_bLanguageSelect = false;
    // The checkbox's up and disabled images as loaded: its checked and its unchecked look.
    std::u16string m_CheckedImage;
    std::u16string m_UncheckedImage;
    std::unique_ptr<MessageBoxInterface> m_pConfirmBox;
    std::unique_ptr<LanguageSelectInterface> m_pLanguageSelect;
};

// The language choice is offered by itself once per run.
bool WasLanguageSelectOffered();
void SetLanguageSelectOffered(bool offered);
// Shows the confirmation for starting the online client on top of the menu.
void AskToLaunchOnlineClient(MessageBoxInterface& box);
// Removes a shown overlay at once and hides it.
void CloseOverlay(GameInterface& overlay);
