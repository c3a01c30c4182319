// A window standing for one card actor, so that the toolkit's window-under-the-mouse test finds the card. Its
// only drawing is the card's face texture as its background. It never owns the actor.
#pragma once

#include "gui/GUI_Window.h"

class CardActor;

// The kind by which the table recognises card windows.
constexpr std::uint32_t GUI_KIND_CARD = 7;

class CardWindow : public GUI_Window {
public:
    explicit CardWindow(std::uint32_t kind = GUI_KIND_CARD) : GUI_Window(kind) {}
    ~CardWindow() override = default;

    void SetCardActor(CardActor* card) { m_pCardActor = card; }
    CardActor* GetCardActor() const { return m_pCardActor; }
    // The actor's face texture stretched over the window; nothing without an actor or a face.
    void DrawBackground() override;

private:
    CardActor* m_pCardActor = nullptr;
};
