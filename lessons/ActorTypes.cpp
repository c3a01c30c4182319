// Placeholder until the behaviours exist: every known type but the camera runs a behaviour that does nothing.
#include "lessons/ActorTypes.h"

#include "cards/CameraBehaviour.h"
#include "engine/core/TextHelpers.h"

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
    {u"bigspark", IdleBehaviour},
    {u"sparkle", IdleBehaviour},
    {u"lifeglobe", IdleBehaviour},
    {u"card", IdleBehaviour},
    {u"player", IdleBehaviour},
    {u"cpuplayer", IdleBehaviour},
    {u"lifetoken", IdleBehaviour},
    {u"slideshow", IdleBehaviour},
    {u"lilcardframe", IdleBehaviour},
    {u"cointoss", IdleBehaviour},
    {u"intro", IdleBehaviour},
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
