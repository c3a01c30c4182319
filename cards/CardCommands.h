// The card commands of command files: "definecard" fills a card definition, "loadcard" a card's texts and images.
// Both pull their arguments from the script cursor (engine/scene/ScriptParser.h).
#pragma once

#include <string>

// definecard CD_ID, then "Key = Value" lines, then a line beginning "_end". The values are gathered first and
// the card's record is rewritten whole at "_end"; a block that reaches the end of the text without it, or whose
// identifier names no card, stores nothing.
void Parse_DefineCard();
// loadcard CD_ID: the card's art, its texts in the string tables and its small images upright and turned. A
// small image missing on disk is composed and written there; one that cannot be written stays in memory.
void Parse_LoadCard();

class CARD;
class CardOverLay;
// The text of the popup beside a zoomed card: name, cost (not for lands), type, power and toughness (creatures),
// then the rules text.
std::u16string ComposeCardPopupText(const CARD& card, const CardOverLay& overlay);
// The Text pattern with %0 the effect text and %1 the flavour text.
std::u16string ComposeCardRulesText(const CARD& card);
