#include "gui/GUI_System.h"

#include "gui/GUI_Manager.h"

namespace {

std::u16string s_LanguageDirectory;
std::u16string s_DataDirectory;
bool s_bInitialised = false;
GUI_System::StringCallback s_StringCallback = nullptr;
GUI_System::FormattedTextCallback s_FormattedTextCallback = nullptr;
GUI_System::CursorPosCallback s_CursorPosCallback = nullptr;
GUI_System::ResetFormattedTextCallback s_ResetFormattedTextCallback = nullptr;

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

void Init()
{
    GetGUIManager();
    s_bInitialised = true;
}

void Shutdown()
{
    DeleteGUIManager();
    s_bInitialised = false;
}

bool IsInitialised()
{
    return s_bInitialised;
}

void SetDataDirectory(const char16_t* path)
{
    s_DataDirectory = path != nullptr ? path : u"";
}

const std::u16string& GetDataDirectory()
{
    return s_DataDirectory;
}

void SetStringCallback(StringCallback callback)
{
    s_StringCallback = callback;
}

void SetFormattedTextCallback(FormattedTextCallback callback)
{
    s_FormattedTextCallback = callback;
}

void SetCursorPosCallback(CursorPosCallback callback)
{
    s_CursorPosCallback = callback;
}

void SetResetFormattedTextCallback(ResetFormattedTextCallback callback)
{
    s_ResetFormattedTextCallback = callback;
}

CursorPosCallback GetCursorPosCallback()
{
    return s_CursorPosCallback;
}

} // namespace GUI_System
