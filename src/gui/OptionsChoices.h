// What the options menu's controls hold, and the rules for turning it into settings: the
// tree-density steps, the aspect names, which changes need a new engine start, and a save
// that changes the settings and their file together or neither.
#pragma once

#include "InputKey.h"

#include <array>
#include <string>

class GameConfiguration;

// The eight bindings in the menu's order.
enum BindingSlot
{
    kLeftBinding,
    kRightBinding,
    kAccelerateBinding,
    kBrakeBinding,
    kHandbrakeBinding,
    kChangeCameraBinding,
    kResetCarBinding,
    kResetGameBinding,
    kBindingCount
};

struct OptionsChoices
{
    std::string renderer;
    std::string resolution;
    std::string aspect;
    std::string antiAliasing;
    bool fullscreen = false;
    int textureQuality = 2;        // 0 low, 1 medium, 2 high
    bool vegetation = true;
    float grassDensity = 0.6f;     // scroll bar position, 0..1
    float treeDensity = 1.0f;      // scroll bar position, 0..1, snapped when stored
    bool shadows = true;
    int shadowQuality = 2;         // 0..2
    bool hdr = true;
    bool motionBlur = true;
    bool advancedSky = true;
    bool lightMaps = true;
    bool audio = true;
    float audioVolume = 1.0f;
    bool sounds = true;
    float soundsVolume = 1.0f;
    bool music = true;
    float musicVolume = 0.8f;
    std::array<InputKey, kBindingCount> keys;

    // The choices as the settings hold them now (what the menu shows on entry).
    static OptionsChoices from(const GameConfiguration& settings);
};

namespace OptionsRules
{
// The four steps trees come in: 0, 0.333, 0.666, 1; a position outside [0, 1) passes unchanged.
float snapTreeDensity(float position);
// The width-to-height ratio of "3:2", "4:3", "16:10" or "16:9"; -1 for any other name.
float aspectRatioOf(const std::string& aspect);
// True when a choice only a new engine start can apply differs from the settings: the render
// system, the resolution, anti-aliasing, full screen or the texture quality (its resources).
bool needsRestart(const GameConfiguration& settings, const OptionsChoices& choices);
// Stores every choice in the settings. A render system the settings refuse, or an aspect
// name outside the four, leaves that setting as it was.
void apply(GameConfiguration& settings, const OptionsChoices& choices);

enum class SaveResult
{
    Saved,
    SavedNeedsRestart,
    Failed,  // nothing changed, neither the settings nor their file
};
// Applies the choices and writes the settings file at path, both or neither.
SaveResult save(GameConfiguration& settings, const OptionsChoices& choices, const std::string& path,
                std::string* error = nullptr);
}
