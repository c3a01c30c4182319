// The graveyard lists of the physical lesson. Until the lists exist toggling one changes nothing.
#pragma once

void ToggleGraveyardDialog(int player);
