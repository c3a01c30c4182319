// The card-specific dialogs of both physical lessons: the first sight of a card, the plain creatures of the basic
// game, the basic game's "you could play this now" prompts and the flyer that only a flyer can block.
#pragma once

#include "gui/CardSpecificDialog.h"

#include <string>

class CardActor;

// The card's first appearance in a game, for its owner (-1 either).
class FirstAppearanceDialog : public CardSpecificDialog {
public:
    FirstAppearanceDialog(int cardId, int owner, const char16_t* key, std::span<const int> links);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// Lumotton played by either side: what it does to the table.
class PlayedLumottonDialog : public CardSpecificDialog {
public:
    PlayedLumottonDialog();
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// The human could play the card now (second main phase, once per main phase); dropped when the moment passes.
class CanPlayCardDialog : public CardSpecificDialog {
public:
    CanPlayCardDialog(int cardId, int owner, const char16_t* key, std::span<const int> links, int limit);
    bool TestEvent(int event, Actor* card) override;
    bool TestCardEvent(int event, Actor* card) override;
    bool IsModal() const override { return false; }

protected:
    // Events 1 and 2 clear the fired flag; true when the event was one of them.
    bool ClearsAtMainPhase(int event);
    // Not fired yet this phase, the card in hand and playable now.
    bool IsPlayableAgain() const;
    // The key's text with %0 the card's name, %1-%4 its spell's damage, life, discard and draw amounts.
    std::u16string FormatCardText(const char16_t* key) const;

    bool m_bFired = false;
};

class CanPlayCardForWinDialog : public CanPlayCardDialog {
public:
    CanPlayCardForWinDialog(int cardId, int limit);
    bool TestEvent(int event, Actor* card) override;
};

// Before the human attacks: Dovanric could first destroy a creature that would block. Answer 1 attacks.
class DovanricReminderDialog : public CanPlayCardDialog {
public:
    explicit DovanricReminderDialog(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool HandleInput(const GUI_InputEvent& event) override;
};

class CanPlayCardToKillWoundedCreatureDialog : public CanPlayCardDialog {
public:
    CanPlayCardToKillWoundedCreatureDialog(int cardId, int targetId, int limit);
    bool TestEvent(int event, Actor* card) override;

private:
    int m_TargetId = 0;
};

class CanPlayCardToGainLifeDialog : public CanPlayCardDialog {
public:
    CanPlayCardToGainLifeDialog(int cardId, int owner, const char16_t* key1, const char16_t* key2,
                                std::span<const int> links, int limit);
    bool TestEvent(int event, Actor* card) override;

private:
    std::u16string m_Key1;
    std::u16string m_Key2;
};

class CanPlayCardToDiscardCardsDialog : public CanPlayCardDialog {
public:
    CanPlayCardToDiscardCardsDialog(int cardId, int owner, const char16_t* key1, const char16_t* key2,
                                    std::span<const int> links, int limit);
    bool TestEvent(int event, Actor* card) override;

private:
    std::u16string m_Key1;
    std::u16string m_Key2;
};

// An attacking flyer that the other side's creatures cannot block: owner 0 in the human's attack, 1 in the CPU's.
class FlyingBlockDialog : public CardSpecificDialog {
public:
    FlyingBlockDialog(int owner, int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return m_Owner == 0; }
};

// A plain creature of the basic game played by the human: a word on it, while such words are still new.
class BasicCreaturePlayedDialog : public CardSpecificDialog {
public:
    BasicCreaturePlayedDialog();
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }

    int GetPlainCount() const { return m_PlainCount; }
    int GetPowerfulCount() const { return m_PowerfulCount; }
    int GetToughCount() const { return m_ToughCount; }

private:
    int m_PlainCount = 0;
    int m_PowerfulCount = 0;
    int m_ToughCount = 0;
};
