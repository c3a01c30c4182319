// Loading the card database: the vocabularies the card file and the rules share (identifier names, enum
// families, cost text) and the card file of the current language, whose definecard blocks fill g_CardDefs.
#pragma once

#include "rules/ManaCost.h"

#include <string_view>

constexpr char16_t CARD_FILE_NAME[] = u"cards_phys_u.cfg";
// Created beside the card file for the small card images that loadcard composes.
constexpr char16_t CARD_IMAGE_FOLDER[] = u"cards";

// Builds the name map and the ten enum maps afresh (the data compiler needs them without a card file).
void BuildCardVocabulary();
// BuildCardVocabulary, then LoadCardFile; the file's result is not looked at. The script commands must be
// registered (InitScriptCommands) for its definecard blocks to run.
void LoadCardDatabase();
// Runs the card file of the current language's data folder; false when it cannot be read.
bool LoadCardFile();
// Whether the card file can be read and defines a card (start-up's language check: a file in another encoding or
// of random bytes defines none).
bool CardFileHasEntries(std::u16string_view path);

// "ANY" (exactly) gives 1 in every counter. Otherwise each digit 0-8 adds its own value to generic, each of
// R G U B W (either case) one of its colour; everything else (9, X, blanks) is ignored: "11" is 2 generic.
ManaCost ParseManaCost(std::u16string_view text);
