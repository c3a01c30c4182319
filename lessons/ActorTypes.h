// The behaviour table: actor type names of level scripts and the behaviour each runs once a frame.
#pragma once

#include "engine/scene/Actor.h"

#include <string_view>

// Names compare without case; null for a name that is not in the table.
ActorBehaviour FindBehaviour(std::u16string_view typeName);
