#include "gamestate/TableLessonCalls.h"

TableLessonCalls g_TableLessonCalls;
