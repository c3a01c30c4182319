// Fills the tables through which the card table and the rules call the lessons; app/ calls it once at start-up,
// before the first scene load.
#pragma once

void FillLessonCalls();
