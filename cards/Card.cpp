#include "cards/Card.h"

#include <iterator>

CARD g_CardDefs[CD_NUMBER_OF_CARD_DEFS];

namespace {

bool IdIn(int id, int first, int last)
{
    return id >= first && id <= last;
}

} // namespace

bool CARD::HasActivatedAbility() const
{
    return m_Ability.costType != COSTTYPE_NONE && m_Ability.effect.effectType != EFFECT_NONE &&
           m_SpellEffect.effectType != EFFECT_ADDABILITYTOSTACK;
}

bool CARD::HasStaticAbility() const
{
    return m_Ability.effect.duration == DURATION_PERMANENT && m_Ability.costType == COSTTYPE_NONE &&
           m_Ability.effect.effectType != EFFECT_NONE && m_SpellEffect.effectType != EFFECT_ADDABILITYTOSTACK;
}

bool CARD::IsBasicLand0() const { return IdIn(m_Id, CD_PLAINS1, CD_PLAINS4); }
bool CARD::IsBasicLand1() const { return IdIn(m_Id, CD_ISLAND1, CD_ISLAND4); }
bool CARD::IsBasicLand2() const { return IdIn(m_Id, CD_SWAMP1, CD_SWAMP4); }
bool CARD::IsBasicLand3() const { return IdIn(m_Id, CD_MOUNTAIN1, CD_MOUNTAIN4); }
bool CARD::IsBasicLand4() const { return IdIn(m_Id, CD_FOREST1, CD_FOREST4); }

int CARD::GetBasicLandKind() const
{
    // Asked through the virtual functions, in kind order.
    const bool kindTests[] = {IsBasicLand0(), IsBasicLand1(), IsBasicLand2(), IsBasicLand3(), IsBasicLand4()};
    for (int kind = 0; kind < static_cast<int>(std::size(kindTests)); ++kind) {
        if (kindTests[kind])
            return kind;
    }
    return -1;
}

int CARD::GetColorIndex() const
{
    const int counters[] = {m_Cost.black, m_Cost.red, m_Cost.green, m_Cost.blue, m_Cost.white, m_Cost.generic};
    for (int index = 0; index < static_cast<int>(std::size(counters)); ++index) {
        if (counters[index] != 0)
            return index;
    }
    return -1;
}

int CARD::GetColoredAmount(bool abilityCost) const
{
    const ManaCost& cost = abilityCost ? m_Ability.cost : m_Cost;
    for (const int amount : {cost.black, cost.blue, cost.green, cost.red}) {
        if (amount != 0)
            return amount;
    }
    return cost.white;
}

bool HasPluralName(int id)
{
    switch (id) {
    case CD_MAVOLNEL:
    case CD_JAVINRIK:
    case CD_KAVORVIN:
    case CD_ROSOTSK:
    case CD_DOVORGAST:
        return true;
    default:
        return false;
    }
}
