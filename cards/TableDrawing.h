// The cards on the table: each frame they are counted, placed and drawn with their marks, by lesson flavour.
#pragma once

void DrawPhysicalTable();
void DrawOnlineTable();
