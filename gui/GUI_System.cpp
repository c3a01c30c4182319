#include "gui/GUI_System.h"

namespace {

std::u16string s_LanguageDirectory;

} // namespace

namespace GUI_System {

void SetLanguageDirectory(const char16_t* path)
{
    s_LanguageDirectory = path != nullptr ? path : u"";
}

const std::u16string& GetLanguageDirectory()
{
    return s_LanguageDirectory;
}

} // namespace GUI_System
