// The options menu's rules for storing its choices.
#include "gui/OptionsChoices.h"

#include "GameConfiguration.h"

#include <OGRE/OgreException.h>

#include <exception>

namespace
{
struct Aspect
{
    const char* name;
    float ratio;
};
constexpr Aspect kAspects[] = {{"3:2", 1.5f}, {"4:3", 1.3333334f}, {"16:10", 1.6f}, {"16:9", 1.7777778f}};
}

OptionsChoices OptionsChoices::from(const GameConfiguration& settings)
{
    OptionsChoices choices;
    choices.renderer = settings.getRenderer();
    choices.resolution = settings.getResolution();
    choices.aspect = settings.getAspect();
    choices.antiAliasing = settings.getAA();
    choices.fullscreen = settings.isFullscreen();
    choices.textureQuality = settings.getTextureQuality();
    choices.vegetation = settings.isVegetationEnabled();
    choices.grassDensity = settings.getGrassDensity();
    choices.treeDensity = settings.getTreeDensity();
    choices.shadows = settings.isShadowEnabled();
    choices.shadowQuality = settings.getShadowQuality();
    choices.hdr = settings.isHDREnabled();
    choices.motionBlur = settings.isMotionBlurEnabled();
    choices.advancedSky = settings.isAdvancedSkyEnabled();
    choices.lightMaps = settings.isLightMapsEnabled();
    choices.audio = settings.isAudioEnabled();
    choices.audioVolume = settings.getAudioVolume();
    choices.sounds = settings.isSoundsEnabled();
    choices.soundsVolume = settings.getSoundsVolume();
    choices.music = settings.isMusicEnabled();
    choices.musicVolume = settings.getMusicVolume();
    choices.keys[kLeftBinding] = settings.getLeftKey();
    choices.keys[kRightBinding] = settings.getRightKey();
    choices.keys[kAccelerateBinding] = settings.getAccelerateKey();
    choices.keys[kBrakeBinding] = settings.getBrakeKey();
    choices.keys[kHandbrakeBinding] = settings.getHandbrakeKey();
    choices.keys[kChangeCameraBinding] = settings.getChangeCameraKey();
    choices.keys[kResetCarBinding] = settings.getResetCarKey();
    choices.keys[kResetGameBinding] = settings.getResetGameKey();
    return choices;
}

namespace OptionsRules
{
float snapTreeDensity(float position)
{
    if (position < 0.0f || position >= 1.0f)
        return position;
    if (position < 0.1666f)
        return 0.0f;
    if (position < 0.5f)
        return 0.333f;
    if (position < 0.8333f)
        return 0.666f;
    return 1.0f;
}

float aspectRatioOf(const std::string& aspect)
{
    for (const Aspect& known : kAspects)
        if (aspect == known.name)
            return known.ratio;
    return -1.0f;
}

bool needsRestart(const GameConfiguration& settings, const OptionsChoices& choices)
{
    return choices.renderer != settings.getRenderer() || choices.resolution != settings.getResolution() ||
           choices.antiAliasing != settings.getAA() || choices.fullscreen != settings.isFullscreen() ||
           choices.textureQuality != settings.getTextureQuality();
}

void apply(GameConfiguration& settings, const OptionsChoices& choices)
{
    try
    {
        settings.setRenderer(choices.renderer);
    }
    catch (const Ogre::Exception&)
    {
        // Only render systems the settings accept are offered; anything else keeps the old one.
    }
    settings.setResolution(choices.resolution);
    const float ratio = aspectRatioOf(choices.aspect);
    if (ratio >= 0.0f)
    {
        settings.setAspect(choices.aspect);
        settings.setAspectRatio(ratio);
    }
    settings.setAA(choices.antiAliasing);
    settings.setFullscreen(choices.fullscreen);
    settings.setTextureQuality(choices.textureQuality);
    settings.setVegetationEnabled(choices.vegetation);
    settings.setGrassDensity(choices.grassDensity);
    settings.setTreeDensity(snapTreeDensity(choices.treeDensity));
    settings.setShadowEnabled(choices.shadows);
    settings.setShadowQuality(choices.shadowQuality);
    settings.setHDREnabled(choices.hdr);
    settings.setMotionBlurEnabled(choices.motionBlur);
    settings.setAdvancedSkyEnabled(choices.advancedSky);
    settings.setLightMapsEnabled(choices.lightMaps);
    settings.setAudioEnabled(choices.audio);
    settings.setAudioVolume(choices.audioVolume);
    settings.setSoundsEnabled(choices.sounds);
    settings.setSoundsVolume(choices.soundsVolume);
    settings.setMusicEnabled(choices.music);
    settings.setMusicVolume(choices.musicVolume);
    settings.setLeftKey(choices.keys[kLeftBinding]);
    settings.setRightKey(choices.keys[kRightBinding]);
    settings.setAccelerateKey(choices.keys[kAccelerateBinding]);
    settings.setBrakeKey(choices.keys[kBrakeBinding]);
    settings.setHandbrakeKey(choices.keys[kHandbrakeBinding]);
    settings.setChangeCameraKey(choices.keys[kChangeCameraBinding]);
    settings.setResetCarKey(choices.keys[kResetCarBinding]);
    settings.setResetGameKey(choices.keys[kResetGameBinding]);
}

SaveResult save(GameConfiguration& settings, const OptionsChoices& choices, const std::string& path,
                std::string* error)
{
    const bool restart = needsRestart(settings, choices);
    // Changed on a copy: a file that cannot be written leaves the running settings as they were.
    GameConfiguration next = settings;
    apply(next, choices);
    try
    {
        if (!next.save(path, error))
            return SaveResult::Failed;
    }
    catch (const std::exception& failure)
    {
        if (error)
            *error = failure.what();
        return SaveResult::Failed;
    }
    settings = next;
    return restart ? SaveResult::SavedNeedsRestart : SaveResult::Saved;
}
}
