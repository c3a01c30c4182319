// The advanced lesson's card prompts: a card in hand that could be played now, an ability that could be used
// now, and a creature about to be lost that can still be used or saved.
#pragma once

#include "lessons/CardDialogs.h"

#include <array>
#include <string>

// Tapping Celisber for mana would pay for a card the lands alone cannot.
class CanTapCelisberToPlayCardDialog : public CanPlayCardDialog {
public:
    explicit CanTapCelisberToPlayCardDialog(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// Toredber's pump would let an attacker through or through its blockers, in the first main phase.
class CanPlayToredberDialog : public CanPlayCardDialog {
public:
    explicit CanPlayToredberDialog(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// The creature's own pump ability could save it from the damage it is about to take.
class CanSavePumpingCardDialog : public CardSpecificDialog {
public:
    // Keys: one pump, more than one, and the same two while the human answers a spell of the CPU.
    CanSavePumpingCardDialog(int cardId, const char16_t* key1, const char16_t* key2, const char16_t* key3,
                             const char16_t* key4, int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }

protected:
    // The links and voice of this card's prompt.
    virtual void AddLinksAndVoice(bool responding) = 0;

private:
    std::array<std::u16string, 4> m_Keys;
};

class CanSaveTavengastDialog : public CanSavePumpingCardDialog {
public:
    explicit CanSaveTavengastDialog(int limit);

protected:
    void AddLinksAndVoice(bool responding) override;
};

class CanSaveBelunvinDialog : public CanSavePumpingCardDialog {
public:
    explicit CanSaveBelunvinDialog(int limit);

protected:
    void AddLinksAndVoice(bool responding) override;
};

// A card in hand, affordable, at its moment (the base class's card and key).
class CanPlaySelevmarDialog : public CardSpecificDialog {
public:
    explicit CanPlaySelevmarDialog(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

class CanPlayKelolvinDialog : public CardSpecificDialog {
public:
    explicit CanPlayKelolvinDialog(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return false; }
};

class CanPlayPrailgastDialog1 : public CardSpecificDialog {
public:
    explicit CanPlayPrailgastDialog1(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// Prailgast's last chance to use its ability before it is destroyed.
class CanPlayPrailgastDialog2 : public CardSpecificDialog {
public:
    explicit CanPlayPrailgastDialog2(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

class CanPlayHosurberDialog : public CardSpecificDialog {
public:
    explicit CanPlayHosurberDialog(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// An attacking Belunvin whose pump would win the game or win its fight; once for each.
class CanPumpBelunvinDialog : public CardSpecificDialog {
public:
    CanPumpBelunvinDialog();
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return false; }
    bool IsExhausted() const override { return m_bWinPrompted && m_bFightPrompted; }

private:
    bool m_bWinPrompted = false;
    bool m_bFightPrompted = false;
};

// An instant in hand worth casting at the end of the CPU's turn.
class CanPlayCardAtEndOfCPUTurnDialog : public CardSpecificDialog {
public:
    CanPlayCardAtEndOfCPUTurnDialog(int cardId, const char16_t* key, int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// Savotnel at the end of the CPU's turn: first for a wounded creature it can finish, then for a blocker.
class CanPlaySavotnelDialog : public CanPlayCardAtEndOfCPUTurnDialog {
public:
    CanPlaySavotnelDialog();
    bool TestEvent(int event, Actor* card) override;
    bool IsExhausted() const override { return m_bWoundedPrompted && m_bBlockerPrompted; }

private:
    bool m_bWoundedPrompted = false;
    bool m_bBlockerPrompted = false;
};

// Nesismar on an attacker: its pump would win the game, add damage, or win the host's fight; once for each.
class CanActivateNesismarDialog : public CardSpecificDialog {
public:
    CanActivateNesismarDialog();
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return false; }
    bool IsExhausted() const override { return m_bWinPrompted && m_bFightPrompted && m_bDamagePrompted; }

private:
    void ShowDamagePrompt(const CardActor& host);

    bool m_bWinPrompted = false;
    bool m_bFightPrompted = false;
    bool m_bDamagePrompted = false;
};

class CanActivateDraisnelDialog1 : public CardSpecificDialog {
public:
    explicit CanActivateDraisnelDialog1(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// Draisnel is the target of a spell: its last chance.
class CanActivateDraisnelDialog2 : public CardSpecificDialog {
public:
    explicit CanActivateDraisnelDialog2(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// Draisnel's ability would finish a wounded CPU creature.
class CanActivateDraisnelDialog3 : public CardSpecificDialog {
public:
    explicit CanActivateDraisnelDialog3(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};

// Ralevth is about to be destroyed: its last chance.
class CanActivateRalevthDialog : public CardSpecificDialog {
public:
    explicit CanActivateRalevthDialog(int limit);
    bool TestEvent(int event, Actor* card) override;
    bool IsModal() const override { return true; }
};
