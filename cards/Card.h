// A card definition read from the card file, one per card identifier, kept in g_CardDefs for the whole run.
#pragma once

#include "cards/CardBase.h"
#include "cards/CardEnums.h"
#include "cards/CardIds.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Fixed text fields hold this many units plus the terminator; longer values are cut.
constexpr int CARD_NAME_LENGTH = 63;
constexpr int CARD_TYPE_LINE_LENGTH = 63;

class CARD : public CardBase {
public:
    CARD() = default;

    const char16_t* GetNameField() const override { return m_Name.data(); }
    const char16_t* GetIdName() const override { return m_IdName.data(); }
    const char16_t* GetTypeLine() const override { return m_TypeLine.data(); }
    int GetId() const override { return m_Id; }
    const ManaCost* GetManaCounters() const override { return &m_Cost; }
    bool IsXSpell() const override { return m_IsXSpell; }
    int GetCardType() const override { return m_CardType; }
    int GetSubType() const override { return m_SubType; }
    bool IsEnchantOffensive() const override { return m_EnchantIsOffensive; }
    int GetRarity() const override { return m_Rarity; }
    const CreatureStats* GetCreatureStats() const override { return &m_Stats; }
    const TargetSpec* GetSpellTarget() const override { return &m_SpellTarget; }
    const EffectSpec* GetSpellEffect() const override { return &m_SpellEffect; }
    const CardAbility* GetAbility() const override { return &m_Ability; }
    const std::u16string& GetArtist() const override { return m_Artist; }
    const std::u16string& GetLargeArt() const override { return m_LargeArt; }
    const std::u16string& GetCostText() const override { return m_CostText; }
    const std::u16string& GetTypeText() const override { return m_TypeText; }
    const std::u16string& GetText() const override { return m_Text; }
    const std::u16string& GetEffectText() const override { return m_EffectText; }
    const std::u16string& GetFlavorText() const override { return m_FlavorText; }
    const std::u16string& GetSmallCardPath() const override { return m_SmallCardPath; }
    bool HasActivatedAbility() const override;
    bool HasStaticAbility() const override;
    bool IsBasicLand0() const override;
    bool IsBasicLand1() const override;
    bool IsBasicLand2() const override;
    bool IsBasicLand3() const override;
    bool IsBasicLand4() const override;
    int GetBasicLandKind() const override;
    bool IsLand() const override { return m_CardType == CT_LAND; }
    bool IsPermanentType() const override { return m_CardType != CT_SORCERY && m_CardType != CT_INSTANT; }
    int GetColorIndex() const override;
    int GetColoredAmount(bool abilityCost) const override;

    // Filled as a whole by the definecard command (Parse_DefineCard), which builds a record and copies it in.
    std::array<char16_t, CARD_NAME_LENGTH + 1> m_Name{};
    std::array<char16_t, CARD_ID_NAME_LENGTH + 1> m_IdName{};
    std::array<char16_t, CARD_TYPE_LINE_LENGTH + 1> m_TypeLine{};
    int m_Id = 0;
    ManaCost m_Cost;
    bool m_IsXSpell = false;
    int m_CardType = CT_NONE;
    int m_SubType = SUBTYPE_NONE;
    bool m_EnchantIsOffensive = false;
    int m_Rarity = FREQ_COMMON;
    CreatureStats m_Stats;
    TargetSpec m_SpellTarget;
    EffectSpec m_SpellEffect;
    CardAbility m_Ability;
    std::u16string m_Artist;
    std::u16string m_LargeArt;
    std::u16string m_CostText;
    std::u16string m_TypeText;
    std::u16string m_Text;
    std::u16string m_EffectText;
    std::u16string m_FlavorText;
    std::u16string m_SmallCardPath;
};

// Indexed by card identifier; entry 0 and cards the file never defines keep the constructor's defaults.
extern CARD g_CardDefs[CD_NUMBER_OF_CARD_DEFS];

// The five cards whose names are plurals (the online advisor words their resolution differently).
bool HasPluralName(int id);

// Copies text into a fixed field, cut to the field's length and terminated.
template <std::size_t N>
void CopyToField(std::array<char16_t, N>& field, std::u16string_view text)
{
    field.fill(u'\0');
    const std::size_t count = text.size() < N - 1 ? text.size() : N - 1;
    for (std::size_t i = 0; i < count; ++i)
        field[i] = text[i];
}
