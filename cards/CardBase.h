// What the rest of the program asks of a card. A card definition (CARD) answers from its own fields; a card on
// the table answers by forwarding to its definition, so the rules ask both the same questions.
#pragma once

#include "cards/CardRecords.h"
#include "rules/ManaCost.h"

#include <string>

class CardBase {
public:
    virtual ~CardBase() = default;

    virtual const char16_t* GetNameField() const = 0;
    virtual const char16_t* GetIdName() const = 0;
    virtual const char16_t* GetTypeLine() const = 0;
    virtual int GetId() const = 0;
    virtual const ManaCost* GetManaCounters() const = 0;
    virtual bool IsXSpell() const = 0;
    virtual int GetCardType() const = 0;
    virtual int GetSubType() const = 0;
    virtual bool IsEnchantOffensive() const = 0;
    virtual int GetRarity() const = 0;
    virtual const CreatureStats* GetCreatureStats() const = 0;
    virtual const TargetSpec* GetSpellTarget() const = 0;
    virtual const EffectSpec* GetSpellEffect() const = 0;
    virtual const CardAbility* GetAbility() const = 0;
    virtual const std::u16string& GetArtist() const = 0;
    virtual const std::u16string& GetLargeArt() const = 0;
    virtual const std::u16string& GetCostText() const = 0;
    virtual const std::u16string& GetTypeText() const = 0;
    virtual const std::u16string& GetText() const = 0;
    virtual const std::u16string& GetEffectText() const = 0;
    virtual const std::u16string& GetFlavorText() const = 0;
    virtual const std::u16string& GetSmallCardPath() const = 0;
    virtual bool HasActivatedAbility() const = 0;
    virtual bool HasStaticAbility() const = 0;
    // The basic-land tests go by identifier range only: 0 Plains, 1 Island, 2 Swamp, 3 Mountain, 4 Forest.
    virtual bool IsBasicLand0() const = 0;
    virtual bool IsBasicLand1() const = 0;
    virtual bool IsBasicLand2() const = 0;
    virtual bool IsBasicLand3() const = 0;
    virtual bool IsBasicLand4() const = 0;
    // The first basic-land test that holds in the order 0-4, or -1.
    virtual int GetBasicLandKind() const = 0;
    virtual bool IsLand() const = 0;
    // Everything but sorceries and instants; a card without a type counts as a permanent.
    virtual bool IsPermanentType() const = 0;
    // The first non-zero cost counter in the order black 0, red 1, green 2, blue 3, white 4, generic 5; -1 for
    // no cost. Not the order of the basic-land kinds.
    virtual int GetColorIndex() const = 0;
    // Of the ability's cost (true) or the card's: black, else blue, else green, else red, else white (maybe 0).
    virtual int GetColoredAmount(bool abilityCost) const = 0;
};
