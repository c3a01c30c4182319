// The base of the lesson's card-specific advice dialogs: message boxes that say for themselves which lesson
// events make them due or obsolete, whether play waits for them, and when they have been shown enough.
#pragma once

#include "gui/Messagebox.h"

class Actor;

class CardSpecificDialog : public Messagebox {
public:
    CardSpecificDialog() : Messagebox(DIALOG_KIND_MESSAGEBOX) {}
    ~CardSpecificDialog() override = default;

    // The event makes the dialog due.
    virtual bool TestEvent(int event, Actor* card) = 0;
    // The event makes the shown or queued dialog obsolete.
    virtual bool TestCardEvent(int event, Actor* card) = 0;
    // Play waits for it while it is shown; it goes to the priority queue.
    virtual bool IsModal() const = 0;
    virtual bool IsExhausted() const = 0;
    virtual bool IsAnswered() const { return GetAnswer() >= 0; }
    virtual void PlaceOnScreen() { CenterOnScreen(); }

    void IncShownCount() { ++m_ShownCount; }
    int GetShownCount() const { return m_ShownCount; }

private:
    int m_ShownCount = 0;
};
