// The window class a layout tag names, for the loaders of windows and screens.
#include "gui/GUI_Button.h"
#include "gui/GUI_Label.h"
#include "gui/GUI_Picture.h"
#include "gui/GUI_TextButton.h"
#include "gui/GUI_Window.h"
#include "gui/LayoutRecords.h"

std::unique_ptr<GUI_Window> CreateWindowForTag(std::uint32_t tag)
{
    switch (tag) {
    case TAG_GLBL:
        return std::make_unique<GUI_Label>();
    case TAG_GPIC:
        return std::make_unique<GUI_Picture>();
    case TAG_GWND:
        return std::make_unique<GUI_Window>(GUI_KIND_WINDOW);
    case TAG_GBTN:
        return std::make_unique<GUI_Button>();
    case TAG_GTBT:
        return std::make_unique<GUI_TextButton>();
    default:
        return nullptr;
    }
}
