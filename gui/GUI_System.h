// The toolkit's binding to its host: the language folder that the language manager hands over, the data folder
// and the host callbacks through which the toolkit loads images, looks texts up and reads the mouse. Until the
// toolkit exists it only keeps what it is given.
#pragma once

#include <string>
#include <string_view>

struct FormattedText;

namespace GUI_System {

// Stores the folder of the current language; a null path stores the empty string.
void SetLanguageDirectory(const char16_t* path);
const std::u16string& GetLanguageDirectory();

// Start-up creates the toolkit's manager; shutdown deletes it.
void Init();
void Shutdown();
bool IsInitialised();
void SetDataDirectory(const char16_t* path);
const std::u16string& GetDataDirectory();

using StringCallback = const char16_t* (*)(std::u16string_view key);
using FormattedTextCallback = FormattedText* (*)(std::u16string_view key);
using CursorPosCallback = void (*)(int& x, int& y);
using ResetFormattedTextCallback = void (*)(FormattedText* record);

void SetStringCallback(StringCallback callback);
void SetFormattedTextCallback(FormattedTextCallback callback);
void SetCursorPosCallback(CursorPosCallback callback);
void SetResetFormattedTextCallback(ResetFormattedTextCallback callback);
CursorPosCallback GetCursorPosCallback();

} // namespace GUI_System
