// Widget kinds of the menus' layouts.
#include "gui/WindowKind.h"

#include <CEGUI/CEGUI.h>

bool isOfKind(CEGUI::Window* window, WindowKind kind)
{
    switch (kind)
    {
    case WindowKind::Combobox: return dynamic_cast<CEGUI::Combobox*>(window) != nullptr;
    case WindowKind::Checkbox: return dynamic_cast<CEGUI::ToggleButton*>(window) != nullptr;
    case WindowKind::Scrollbar: return dynamic_cast<CEGUI::Scrollbar*>(window) != nullptr;
    case WindowKind::Button: return dynamic_cast<CEGUI::PushButton*>(window) != nullptr;
    case WindowKind::TabControl: return dynamic_cast<CEGUI::TabControl*>(window) != nullptr;
    case WindowKind::Text:
    case WindowKind::Any: return window != nullptr;
    }
    return false;
}
