// The windows the options menu looks up in its layout, by name and by the kind of widget the
// code takes each one for; the layout test checks the layout against this same list.
#pragma once

#include "gui/OptionsChoices.h"
#include "gui/WindowKind.h"

namespace OptionsMenuWindows
{
using Kind = WindowKind;
using Window = NamedWindow;

constexpr const char* kLayoutFile = "OptionsMenu_linux.xml";

constexpr Window kWindows[] = {
    {"Renderer", Kind::Combobox},      {"Resolution", Kind::Combobox},   {"Aspect", Kind::Combobox},
    {"AA", Kind::Combobox},            {"Fullscreen", Kind::Checkbox},   {"TextureQuality", Kind::Combobox},
    {"Vegetation", Kind::Checkbox},    {"GrassDensity", Kind::Scrollbar}, {"TreeDensity", Kind::Scrollbar},
    {"Shadows", Kind::Checkbox},       {"ShadowQuality", Kind::Combobox}, {"HDR", Kind::Checkbox},
    {"MotionBlur", Kind::Checkbox},    {"AdvancedSky", Kind::Checkbox},  {"Lightmapping", Kind::Checkbox},
    {"Master", Kind::Checkbox},        {"MasterVolume", Kind::Scrollbar}, {"Sound", Kind::Checkbox},
    {"SoundVolume", Kind::Scrollbar},  {"Music", Kind::Checkbox},        {"MusicVolume", Kind::Scrollbar},
    {"Accelerate", Kind::Button},      {"Brake", Kind::Button},          {"TurnLeft", Kind::Button},
    {"TurnRight", Kind::Button},       {"Handbrake", Kind::Button},      {"ChangeView", Kind::Button},
    {"ResetCar", Kind::Button},        {"ResetGame", Kind::Button},      {"Tab", Kind::TabControl},
    {"Save", Kind::Button},            {"Back", Kind::Button},           {"Message", Kind::Text},
};

// The binding buttons in the order of the bindings.
constexpr const char* kBindingButtons[kBindingCount] = {"TurnLeft", "TurnRight", "Accelerate", "Brake",
                                                        "Handbrake", "ChangeView", "ResetCar", "ResetGame"};

// The tab pages; the first is shown on entry.
constexpr const char* kTabs[] = {"VideoTab", "GraphicsTab", "SoundTab", "ControlsTab"};
}
