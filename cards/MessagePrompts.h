// The online message field's owner: the prompt text that holds the field, empty while it is free.
#pragma once

#include <string>

std::u16string& OnlinePromptOwner();
