// The toolkit's binding to its host. For now only the language folder that the language manager hands over;
// the rest of the binding comes with the toolkit.
#pragma once

#include <string>

namespace GUI_System {

// Stores the folder of the current language; a null path stores the empty string.
void SetLanguageDirectory(const char16_t* path);
const std::u16string& GetLanguageDirectory();

} // namespace GUI_System
