// The kinds of widget a menu takes the windows of its layout for, and the check that a window
// is one: a layout with another widget in a window's place is refused, not misread.
#pragma once

namespace CEGUI
{
class Window;
}

enum class WindowKind
{
    Combobox,
    Checkbox,
    Scrollbar,
    Button,
    TabControl,
    Text,  // any window: its text is set or read
    Any,   // any window: it marks a place on the screen or shows a picture
};

// A window a menu looks up in its layout by name.
struct NamedWindow
{
    const char* name;
    WindowKind kind;
};

// Whether the window is the kind of widget the menu takes it for.
bool isOfKind(CEGUI::Window* window, WindowKind kind);
