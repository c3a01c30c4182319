// The card commands of command files: "definecard" fills a card definition, "loadcard" a card's texts and images.
// Both pull their arguments from the script cursor (engine/ScriptParser.h).
#pragma once

void Parse_DefineCard();
void Parse_LoadCard();
