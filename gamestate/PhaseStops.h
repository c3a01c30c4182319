// The phase stops the learner sets on the menus. Until they exist no stop is set.
#pragma once

namespace PhaseStop {

bool Get(int side, int step);

} // namespace PhaseStop
