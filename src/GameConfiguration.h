// Every user setting of the game, with its default and the clamp its setter applies,
// loaded from and saved to the XML settings file "quillmor.cfg" of the per-user folder.
#pragma once

#include "InputKey.h"

#include <stdexcept>
#include <string>

class TiXmlElement;

// Thrown by floatToString when the stream fails.
class BadConversion : public std::runtime_error
{
public:
    explicit BadConversion(const std::string& message) : std::runtime_error(message) {}
};

// A float as the settings file writes it: six significant digits ("0.6", "1", "1.33333").
std::string floatToString(float value);

// A resource list the settings may name: a bare ".cfg" file name, so in the game's own folder.
bool isResourcesFileName(const std::string& name);

class GameConfiguration
{
public:
    // Applies the settings file at path; a missing element or attribute keeps its field.
    // False, with a debug-log line naming the file, when the file is missing, not XML,
    // has another root or names an unknown render system: then no field has changed.
    bool load(const std::string& path);
    // Writes every setting, whole or not at all. Sets the resources file from the texture
    // quality first. False, with the reason in *error, when the file cannot be written.
    bool save(const std::string& path, std::string* error = nullptr);

    const std::string& getRenderer() const { return renderer; }
    // Only "OpenGL Rendering Subsystem" and "Direct3D9 Rendering Subsystem";
    // anything else throws Ogre::InternalErrorException and keeps the old name.
    void setRenderer(const std::string& name);
    std::string getResolution() const { return resolution; }
    void setResolution(const std::string& text) { resolution = text; }
    std::string getColourDepth() const { return colourDepth; }
    void setColourDepth(const std::string& text) { colourDepth = text; }
    std::string getAspect() const { return aspect; }
    void setAspect(const std::string& name) { aspect = name; }
    float getAspectRatio() const { return aspectRatio; }
    void setAspectRatio(float ratio);  // clamped to [1, 2.39]
    std::string getAA() const { return antiAliasing; }
    void setAA(const std::string& text) { antiAliasing = text; }
    bool isFullscreen() const { return fullscreen; }
    void setFullscreen(bool on) { fullscreen = on; }
    bool isVSync() const { return vSync; }
    void setVSync(bool on) { vSync = on; }

    int getTextureQuality() const { return textureQuality; }
    void setTextureQuality(int quality);  // 0 and 1 kept, anything else is 2
    bool isVegetationEnabled() const { return vegetation; }
    void setVegetationEnabled(bool on) { vegetation = on; }
    float getGrassDensity() const { return grassDensity; }
    void setGrassDensity(float density);  // clamped to [0, 1]
    float getTreeDensity() const { return treeDensity; }
    void setTreeDensity(float density);  // clamped to [0, 1]
    bool isShadowEnabled() const { return shadows; }
    void setShadowEnabled(bool on) { shadows = on; }
    int getShadowQuality() const { return shadowQuality; }
    void setShadowQuality(int quality);  // 0 and 1 kept, anything else is 2
    bool isHDREnabled() const { return hdr; }
    void setHDREnabled(bool on) { hdr = on; }
    unsigned getHDRFading() const { return hdrFading; }
    void setHDRFading(unsigned fading);  // at most 120
    bool isMotionBlurEnabled() const { return motionBlur; }
    void setMotionBlurEnabled(bool on) { motionBlur = on; }
    bool isAdvancedSkyEnabled() const { return advancedSky; }
    void setAdvancedSkyEnabled(bool on) { advancedSky = on; }
    bool isLightMapsEnabled() const { return lightMaps; }
    void setLightMapsEnabled(bool on) { lightMaps = on; }

    bool isSoundsEnabled() const { return sounds; }
    void setSoundsEnabled(bool on) { sounds = on; }
    bool isMusicEnabled() const { return music; }
    void setMusicEnabled(bool on) { music = on; }
    bool isAudioEnabled() const { return audio; }
    void setAudioEnabled(bool on) { audio = on; }
    float getSoundsVolume() const { return soundsVolume; }
    void setSoundsVolume(float volume) { soundsVolume = volume; }
    float getMusicVolume() const { return musicVolume; }
    void setMusicVolume(float volume) { musicVolume = volume; }
    float getAudioVolume() const { return audioVolume; }
    void setAudioVolume(float volume) { audioVolume = volume; }

    InputKey getAccelerateKey() const { return accelerateKey; }
    void setAccelerateKey(const InputKey& key) { accelerateKey = key; }
    InputKey getBrakeKey() const { return brakeKey; }
    void setBrakeKey(const InputKey& key) { brakeKey = key; }
    InputKey getLeftKey() const { return leftKey; }
    void setLeftKey(const InputKey& key) { leftKey = key; }
    InputKey getRightKey() const { return rightKey; }
    void setRightKey(const InputKey& key) { rightKey = key; }
    InputKey getHandbrakeKey() const { return handbrakeKey; }
    void setHandbrakeKey(const InputKey& key) { handbrakeKey = key; }
    InputKey getChangeCameraKey() const { return changeCameraKey; }
    void setChangeCameraKey(const InputKey& key) { changeCameraKey = key; }
    InputKey getResetCarKey() const { return resetCarKey; }
    void setResetCarKey(const InputKey& key) { resetCarKey = key; }
    InputKey getResetGameKey() const { return resetGameKey; }
    void setResetGameKey(const InputKey& key) { resetGameKey = key; }

    std::string getResourcesFile() const { return resourcesFile; }
    void setResourcesFile(const std::string& file) { resourcesFile = file; }
    // The per-user folder, ending in "/"; never written to the file.
    std::string getSavePath() const { return savePath; }
    void setSavePath(const std::string& path) { savePath = path; }

private:
    void applyTree(const TiXmlElement* root);

    std::string renderer = "OpenGL Rendering Subsystem";
    std::string resolution = "1024 x 768";
    std::string colourDepth = "32";
    std::string aspect = "4:3";
    float aspectRatio = 4.0f / 3.0f;
    std::string antiAliasing = "0";
    bool fullscreen = false;
    bool vSync = false;
    int textureQuality = 2;     // 0 low, 1 medium, 2 high
    bool vegetation = true;
    float grassDensity = 0.6f;  // 0..1
    float treeDensity = 1.0f;   // 0..1
    bool shadows = true;
    int shadowQuality = 2;      // 0..2
    bool hdr = true;
    unsigned hdrFading = 60;    // 0..120
    bool motionBlur = true;
    bool advancedSky = true;
    bool lightMaps = true;
    bool sounds = true;
    bool music = true;
    bool audio = true;          // master switch
    float soundsVolume = 1.0f;
    float musicVolume = 0.8f;
    float audioVolume = 1.0f;   // master volume
    InputKey accelerateKey{InputKey::KeyboardKey, 200};    // Up
    InputKey brakeKey{InputKey::KeyboardKey, 208};         // Down
    InputKey leftKey{InputKey::KeyboardKey, 203};          // Left
    InputKey rightKey{InputKey::KeyboardKey, 205};         // Right
    InputKey handbrakeKey{InputKey::KeyboardKey, 57};      // Space
    InputKey changeCameraKey{InputKey::KeyboardKey, 46};   // C
    InputKey resetCarKey{InputKey::KeyboardKey, 20};       // T
    InputKey resetGameKey{InputKey::KeyboardKey, 19};      // R
    std::string resourcesFile = "resources_high.cfg";
    std::string savePath;
};
