#include "cards/CardCommands.h"

// Until the card definitions exist the commands read nothing; their arguments are skipped as plain tokens.
void Parse_DefineCard() {}
void Parse_LoadCard() {}
