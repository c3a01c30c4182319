// The physical lesson's life token. Until it exists marking it changed does nothing.
#pragma once

void MarkLifeTokenChanged();
