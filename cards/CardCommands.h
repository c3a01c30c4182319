// The card commands of command files: "definecard" fills a card definition, "loadcard" a card's texts and images.
// Both pull their arguments from the script cursor (engine/scene/ScriptParser.h).
#pragma once

// definecard CD_ID, then "Key = Value" lines, then a line beginning "_end". The values are gathered first and
// the card's record is rewritten whole at "_end"; a block that reaches the end of the text without it, or whose
// identifier names no card, stores nothing.
void Parse_DefineCard();
// loadcard CD_ID.
void Parse_LoadCard();
