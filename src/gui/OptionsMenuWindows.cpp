// The options menu's table of window names and widget kinds.
#include "gui/OptionsMenuWindows.h"

#include <CEGUI/CEGUI.h>

namespace OptionsMenuWindows
{
bool isOfKind(CEGUI::Window* window, Kind kind)
{
    switch (kind)
    {
    case Kind::Combobox: return dynamic_cast<CEGUI::Combobox*>(window) != nullptr;
    case Kind::Checkbox: return dynamic_cast<CEGUI::ToggleButton*>(window) != nullptr;
    case Kind::Scrollbar: return dynamic_cast<CEGUI::Scrollbar*>(window) != nullptr;
    case Kind::Button: return dynamic_cast<CEGUI::PushButton*>(window) != nullptr;
    case Kind::TabControl: return dynamic_cast<CEGUI::TabControl*>(window) != nullptr;
    case Kind::Text: return true;
    }
    return false;
}
}
