#include "gamestate/RulesLessonCalls.h"

RulesLessonCalls g_RulesLessonCalls;
