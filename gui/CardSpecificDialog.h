// The base of the lesson's card-specific advice dialogs: message boxes about one card or one situation that say
// for themselves which lesson events make them due or obsolete, whether play waits for them, and when they have
// been shown enough. The dialog manager queues and shows them; each speaks its clips when it is shown.
#pragma once

#include "gui/Messagebox.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class Actor;

// The numbered lesson events posted to the dialogs (PostDialogEvent); the card is the one named, else null.
enum DialogEvent : int {
    EV_CARD_FIRST_SEEN = 0,           // the card: its definition shows up for the first time this game
    EV_MAIN1_BEGIN = 1,               // the learner's turn enters its first main phase
    EV_MAIN2_BEGIN = 2,               // ... its second main phase
    EV_MAIN1_CHECK = 3,               // a new situation in the first main phase (also right after event 1)
    EV_MAIN2_CHECK = 4,               // ... in the second main phase
    EV_CARD_PLAYED = 5,               // the card: it left a hand, was cast, or the CPU put it onto the table
    EV_SPELL_PAYMENT = 6,             // the card being cast: its payment is under way or it lacks its target
    EV_ABILITY_PAID = 7,              // the card: an ability's payment finished
    EV_ABILITY_ACTIVATION = 8,        // the card: the learner starts activating its ability
    EV_GO_TO_COMBAT = 9,              // the learner chose to attack from the first main phase
    EV_COMBAT_DAMAGE = 10,            // combat damage is about to be dealt
    EV_HUMAN_ATTACKER_DECLARED = 11,  // the learner declared one more attacker
    EV_CPU_ATTACKS = 12,              // the CPU declared its attackers
    EV_CPU_BLOCKS_DECLARED = 13,      // the CPU chose its blockers against the learner's attack
    EV_HUMAN_MAIN_PHASE_ENDS = 14,    // the learner's turn leaves a main phase
    EV_CPU_END_OF_TURN = 15,          // the CPU's turn reaches its end
    EV_SPELL_CAST = 16,               // the card: a spell or ability went onto the stack
};

// The lesson-box kind every card-specific dialog carries.
constexpr int CARD_DIALOG_KIND = 13;
constexpr int CARD_DIALOG_WIDTH = 350;
constexpr int CARD_DIALOG_HEIGHT = 200;
// Link label colours (0x00BBGGRR): an explanation already opened, and one not yet.
constexpr std::uint32_t LINK_COLOUR_VISITED = 0xE0A000;
constexpr std::uint32_t LINK_COLOUR_NEW = 0x00C0FF;
constexpr std::uint32_t LINK_COLOUR_HIGHLIGHTED = 0xFFD000;
// Voice paths are built in a buffer of this many units; a longer one takes the fallback.
constexpr std::size_t VOICE_PATH_BUFFER = 512;

class CardSpecificDialog : public Messagebox {
public:
    // key: a string-table key, or a formatted text's when it begins "FMT_"; null leaves the box without text.
    // links: explanation-link indices, one label each. limit: firings allowed, negative for no limit.
    CardSpecificDialog(int cardId, int owner, const char16_t* key, std::span<const int> links, int limit);
    ~CardSpecificDialog() override;

    // The toolkit's refresh, then the clips: each heard once, the voice queue stopped for the first.
    void Refresh() override;

    // The event makes the dialog due; a dialog that answers true has set its text, links and voices.
    virtual bool TestEvent(int event, Actor* card);
    // The event makes the shown or queued dialog pointless.
    virtual bool TestCardEvent(int event, Actor* card);
    // Play waits for it while it is shown or queued; it goes to the priority queue.
    virtual bool IsModal() const = 0;
    virtual bool IsExhausted() const;
    // Kept in the order of the operations; nothing asks it.
    virtual bool IsReservedSlot() const;
    virtual bool IsAnswered() const;
    // At the lesson's advice position.
    virtual void PlaceOnScreen();

    // One link label per index whose caption is not empty, tagged with the index.
    void AddLinkButtons(const int* indices, int count);
    // Appends the voice, or the fallback when the voice is not in the language folder (an empty fallback
    // appends the voice unchecked).
    void SetVoice(std::u16string_view voice, std::u16string_view fallback);
    void ClearVoices();
    // Called by the manager at each firing.
    void IncShownCount() { ++m_ShownCount; }

    int GetCardId() const { return m_CardId; }
    int GetOwner() const { return m_Owner; }
    int GetShownCount() const { return m_ShownCount; }
    int GetLimit() const { return m_Limit; }
    const std::vector<std::u16string>& GetVoices() const { return m_Voices; }

protected:
    // The parts of a showing with new content; the caller fits the box (AutoSize) once they are all in.
    void ReplaceText(std::u16string_view text) { CopyText(text); }
    void ReplaceVoice(std::u16string_view voice);
    void AddLinks(std::initializer_list<int> links) { AddLinkButtons(links.begin(), static_cast<int>(links.size())); }

    int m_CardId = 0;
    int m_Owner = 0;
    int m_ShownCount = 0;
    int m_Limit = 0;
    std::vector<std::u16string> m_Voices;
};
