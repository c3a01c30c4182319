// Types whose behaviours are not built yet (the life token) and the slide show run a behaviour that does nothing.
#include "lessons/ActorTypes.h"

#include "cards/CameraBehaviour.h"
#include "cards/CardBehaviour.h"
#include "cards/TableEffects.h"
#include "engine/core/TextHelpers.h"
#include "lessons/PlayerBehaviours.h"
#include "screens/CoinToss.h"
#include "screens/IntroBehaviour.h"

#include <array>

namespace {

void IdleBehaviour(Actor* /*actor*/)
{
}

struct ActorType {
    std::u16string_view name;
    ActorBehaviour behaviour;
};

constexpr std::array<ActorType, 12> s_ActorTypes = {{
    {u"camera", CameraBehaviour},
    {u"bigspark", BigSparkBehaviour},
    {u"sparkle", SparkleBehaviour},
    {u"lifeglobe", LifeGlobeBehaviour},
    {u"card", CardBehaviour},
    {u"player", PlayerBehaviour},
    {u"cpuplayer", CpuPlayerBehaviour},
    {u"lifetoken", IdleBehaviour},
    {u"slideshow", IdleBehaviour},
    {u"lilcardframe", LilCardFrameBehaviour},
    {u"cointoss", CoinTossBehaviour},
    {u"intro", IntroBehaviour},
}};

} // namespace

ActorBehaviour FindBehaviour(std::u16string_view typeName)
{
    for (const ActorType& type : s_ActorTypes) {
        if (EqualsNoCase(type.name, typeName)) {
            return type.behaviour;
        }
    }
    return nullptr;
}
