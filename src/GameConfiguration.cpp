// Settings: defaults, clamps and the settings file.
#include "GameConfiguration.h"

#include "AtomicFile.h"
#include "LogStream.h"
#include "XmlDocumentFile.h"

#include <OGRE/OgreException.h>
#include <tinyxml.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace
{
const char* const kOpenGL = "OpenGL Rendering Subsystem";
const char* const kDirect3D9 = "Direct3D9 Rendering Subsystem";
constexpr float kMinAspectRatio = 1.0f;
constexpr float kMaxAspectRatio = 2.39f;
constexpr unsigned kMaxHDRFading = 120;
// Ours is about 2 KB; a file far larger is not one of ours, and TinyXML's attribute lookup
// would make a huge one cost minutes.
constexpr std::size_t kMaxSettingsFileBytes = 16u << 10;
constexpr int kMaxScreenSide = 16384;

// "<width> x <height>", the way the engine names a video mode.
bool isResolution(const std::string& text)
{
    int width = 0, height = 0;
    char end = 0;
    return std::sscanf(text.c_str(), "%5d x %5d%c", &width, &height, &end) == 2 &&
           text == std::to_string(width) + " x " + std::to_string(height) && width >= 320 && height >= 200 &&
           width <= kMaxScreenSide && height <= kMaxScreenSide;
}

bool isWholeNumber(const std::string& text, int max)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    return std::stoi(text) <= max;
}

// A value the field can't have keeps the field's current value, with a line naming both.
void refused(const char* key, const char* value)
{
    debugLog() << "Settings: " << key << " \"" << value << "\" is not valid; keeping the default" << std::endl;
}

float toVolume(const char* text, float current, const char* key)
{
    char* end = nullptr;
    const float value = std::strtof(text, &end);
    if (end == text || *end || !(value >= 0.0f && value <= 1.0f))
    {
        refused(key, text);
        return current;
    }
    return value;
}

// ---- reading: each attribute, when present, goes through the field's setter ----

const TiXmlElement* child(const TiXmlElement* parent, const char* name)
{
    return parent ? parent->FirstChildElement(name) : nullptr;
}

bool toBool(const char* text)
{
    const std::string value = text;
    return value == "true" || value == "True";
}

// atoi's rules without its overflow: out-of-range numbers saturate.
int toInt(const char* text)
{
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

float toFloat(const char* text)
{
    return static_cast<float>(std::strtod(text, nullptr));
}

void readAttribute(const TiXmlElement* element, const char* name, const std::function<void(const char*)>& apply)
{
    if (!element)
        return;
    if (const char* text = element->Attribute(name))
        apply(text);
}

void readBinding(const TiXmlElement* element, const std::function<void(const InputKey&)>& apply)
{
    if (!element)
        return;
    const char* type = element->Attribute("type");
    const char* data = element->Attribute("data");
    if (type && data)
        apply(InputKey(toInt(type), toInt(data)));
}

// ---- writing ----

TiXmlElement* addElement(TiXmlNode* parent, const char* name)
{
    return parent->InsertEndChild(TiXmlElement(name))->ToElement();
}

void setBool(TiXmlElement* element, const char* name, bool value)
{
    element->SetAttribute(name, value ? "true" : "false");
}

void setFloat(TiXmlElement* element, const char* name, float value)
{
    element->SetAttribute(name, floatToString(value));
}

void addBinding(TiXmlElement* parent, const char* name, const InputKey& key)
{
    TiXmlElement* element = addElement(parent, name);
    element->SetAttribute("type", key.getType());
    element->SetAttribute("data", key.getData());
}

std::string resourcesFileFor(int textureQuality)
{
    switch (textureQuality)
    {
    case 1: return "resources_med.cfg";
    case 2: return "resources_high.cfg";
    default: return "resources_low.cfg";
    }
}
}

bool isResourcesFileName(const std::string& name)
{
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != ".." &&
           name.size() > 4 && name.compare(name.size() - 4, 4, ".cfg") == 0;
}

std::string floatToString(float value)
{
    std::ostringstream stream;
    if (!(stream << value))
        throw BadConversion("floatToString(float)");
    return stream.str();
}

void GameConfiguration::setRenderer(const std::string& name)
{
    if (name != kOpenGL && name != kDirect3D9)
        throw Ogre::InternalErrorException(Ogre::Exception::ERR_INTERNAL_ERROR, "Unknown render system.", "",
                                           __FILE__, __LINE__);
    renderer = name;
}

void GameConfiguration::setAspectRatio(float ratio)
{
    // Comparisons are false for NaN, which is kept as it came.
    if (ratio < kMinAspectRatio)
        ratio = kMinAspectRatio;
    else if (ratio > kMaxAspectRatio)
        ratio = kMaxAspectRatio;
    aspectRatio = ratio;
}

void GameConfiguration::setTextureQuality(int quality)
{
    textureQuality = (quality == 0 || quality == 1) ? quality : 2;
}

namespace
{
float clampUnit(float value)
{
    if (value > 1.0f)
        return 1.0f;
    if (value < 0.0f)
        return 0.0f;
    return value;
}
}

void GameConfiguration::setGrassDensity(float density)
{
    grassDensity = clampUnit(density);
}

void GameConfiguration::setTreeDensity(float density)
{
    treeDensity = clampUnit(density);
}

void GameConfiguration::setShadowQuality(int quality)
{
    shadowQuality = (quality == 0 || quality == 1) ? quality : 2;
}

void GameConfiguration::setHDRFading(unsigned fading)
{
    hdrFading = fading > kMaxHDRFading ? kMaxHDRFading : fading;
}

bool GameConfiguration::load(const std::string& path)
{
    TiXmlDocument document;
    std::string problem;
    if (!loadXmlDocument(document, path, problem, kMaxSettingsFileBytes))
    {
        debugLog() << "Settings file '" << path << "' not used (" << problem << "); keeping the current settings"
                   << std::endl;
        return false;
    }
    const TiXmlNode* rootNode = document.FirstChild("GameConfig");
    const TiXmlElement* root = rootNode ? rootNode->ToElement() : nullptr;
    if (!root)
    {
        debugLog() << "Settings file '" << path << "' not used: its root element is not \"GameConfig\"" << std::endl;
        return false;
    }

    // Applied to a copy, so a file refused half-way changes nothing.
    GameConfiguration next = *this;
    try
    {
        next.applyTree(root);
    }
    catch (const Ogre::Exception& error)
    {
        debugLog() << "Settings file '" << path << "' not used: " << error.getDescription()
                   << " (Video/Renderer \"name\")" << std::endl;
        return false;
    }
    *this = next;
    return true;
}

void GameConfiguration::applyTree(const TiXmlElement* root)
{
    const TiXmlElement* video = child(root, "Video");
    readAttribute(child(video, "Renderer"), "name", [this](const char* t) { setRenderer(t); });
    readAttribute(child(video, "Resolution"), "value", [this](const char* t) {
        isResolution(t) ? setResolution(t) : refused("Video/Resolution", t);
    });
    readAttribute(child(video, "ColourDepth"), "value", [this](const char* t) {
        (std::string(t) == "16" || std::string(t) == "32") ? setColourDepth(t) : refused("Video/ColourDepth", t);
    });
    const TiXmlElement* aspectElement = child(video, "Aspect");
    readAttribute(aspectElement, "name", [this](const char* t) { setAspect(t); });
    readAttribute(aspectElement, "value", [this](const char* t) {
        const float ratio = toFloat(t);
        std::isfinite(ratio) ? setAspectRatio(ratio) : refused("Video/Aspect value", t);
    });
    readAttribute(child(video, "AA"), "value", [this](const char* t) {
        isWholeNumber(t, 16) ? setAA(t) : refused("Video/AA", t);
    });
    readAttribute(child(video, "Fullscreen"), "enable", [this](const char* t) { setFullscreen(toBool(t)); });
    readAttribute(child(video, "VSync"), "enable", [this](const char* t) { setVSync(toBool(t)); });

    const TiXmlElement* graphics = child(root, "Graphics");
    readAttribute(child(graphics, "Texture"), "quality", [this](const char* t) { setTextureQuality(toInt(t)); });
    const TiXmlElement* vegetationElement = child(graphics, "Vegetation");
    readAttribute(vegetationElement, "enable", [this](const char* t) { setVegetationEnabled(toBool(t)); });
    readAttribute(child(vegetationElement, "Grass"), "density", [this](const char* t) { setGrassDensity(toFloat(t)); });
    readAttribute(child(vegetationElement, "Tree"), "density", [this](const char* t) { setTreeDensity(toFloat(t)); });
    const TiXmlElement* shadow = child(graphics, "Shadow");
    readAttribute(shadow, "enable", [this](const char* t) { setShadowEnabled(toBool(t)); });
    readAttribute(shadow, "quality", [this](const char* t) { setShadowQuality(toInt(t)); });
    const TiXmlElement* hdrElement = child(graphics, "HDR");
    readAttribute(hdrElement, "enable", [this](const char* t) { setHDREnabled(toBool(t)); });
    readAttribute(hdrElement, "fading", [this](const char* t) { setHDRFading(static_cast<unsigned>(toInt(t))); });
    readAttribute(child(graphics, "MotionBlur"), "enable", [this](const char* t) { setMotionBlurEnabled(toBool(t)); });
    readAttribute(child(graphics, "AdvancedSky"), "enable", [this](const char* t) { setAdvancedSkyEnabled(toBool(t)); });
    readAttribute(child(graphics, "LightMaps"), "enable", [this](const char* t) { setLightMapsEnabled(toBool(t)); });

    const TiXmlElement* audioElement = child(root, "Audio");
    readAttribute(audioElement, "enable", [this](const char* t) { setAudioEnabled(toBool(t)); });
    readAttribute(audioElement, "volume", [this](const char* t) { setAudioVolume(toVolume(t, getAudioVolume(), "Audio volume")); });
    const TiXmlElement* soundsElement = child(audioElement, "Sounds");
    readAttribute(soundsElement, "enable", [this](const char* t) { setSoundsEnabled(toBool(t)); });
    readAttribute(soundsElement, "volume", [this](const char* t) { setSoundsVolume(toVolume(t, getSoundsVolume(), "Audio/Sounds volume")); });
    const TiXmlElement* musicElement = child(audioElement, "Music");
    readAttribute(musicElement, "enable", [this](const char* t) { setMusicEnabled(toBool(t)); });
    readAttribute(musicElement, "volume", [this](const char* t) { setMusicVolume(toVolume(t, getMusicVolume(), "Audio/Music volume")); });

    const TiXmlElement* input = child(root, "Input");
    const TiXmlElement* player = child(input, "Player");
    readBinding(child(player, "Accelerate"), [this](const InputKey& k) { setAccelerateKey(k); });
    readBinding(child(player, "Brake"), [this](const InputKey& k) { setBrakeKey(k); });
    readBinding(child(player, "Left"), [this](const InputKey& k) { setLeftKey(k); });
    readBinding(child(player, "Right"), [this](const InputKey& k) { setRightKey(k); });
    readBinding(child(player, "Handbrake"), [this](const InputKey& k) { setHandbrakeKey(k); });
    readBinding(child(player, "ChangeCamera"), [this](const InputKey& k) { setChangeCameraKey(k); });
    readBinding(child(player, "ResetCar"), [this](const InputKey& k) { setResetCarKey(k); });
    readBinding(child(child(input, "General"), "ResetGame"), [this](const InputKey& k) { setResetGameKey(k); });

    // The resource list is one of the game's own, beside it: a bare file name.
    readAttribute(child(root, "Resources"), "file", [this](const char* t) {
        isResourcesFileName(t) ? setResourcesFile(t) : refused("Resources file", t);
    });
}

bool GameConfiguration::save(const std::string& path, std::string* error)
{
    TiXmlDocument document;
    TiXmlElement* root = addElement(&document, "GameConfig");

    TiXmlElement* video = addElement(root, "Video");
    addElement(video, "Renderer")->SetAttribute("name", renderer);
    addElement(video, "Resolution")->SetAttribute("value", resolution);
    addElement(video, "ColourDepth")->SetAttribute("value", colourDepth);
    TiXmlElement* aspectElement = addElement(video, "Aspect");
    aspectElement->SetAttribute("name", aspect);
    setFloat(aspectElement, "value", aspectRatio);
    addElement(video, "AA")->SetAttribute("value", antiAliasing);
    setBool(addElement(video, "Fullscreen"), "enable", fullscreen);
    setBool(addElement(video, "VSync"), "enable", vSync);

    TiXmlElement* graphics = addElement(root, "Graphics");
    addElement(graphics, "Texture")->SetAttribute("quality", textureQuality);
    TiXmlElement* vegetationElement = addElement(graphics, "Vegetation");
    setBool(vegetationElement, "enable", vegetation);
    setFloat(addElement(vegetationElement, "Grass"), "density", grassDensity);
    setFloat(addElement(vegetationElement, "Tree"), "density", treeDensity);
    TiXmlElement* shadow = addElement(graphics, "Shadow");
    setBool(shadow, "enable", shadows);
    shadow->SetAttribute("quality", shadowQuality);
    TiXmlElement* hdrElement = addElement(graphics, "HDR");
    setBool(hdrElement, "enable", hdr);
    hdrElement->SetAttribute("fading", std::to_string(hdrFading));
    setBool(addElement(graphics, "MotionBlur"), "enable", motionBlur);
    setBool(addElement(graphics, "AdvancedSky"), "enable", advancedSky);
    setBool(addElement(graphics, "LightMaps"), "enable", lightMaps);

    TiXmlElement* audioElement = addElement(root, "Audio");
    setBool(audioElement, "enable", audio);
    setFloat(audioElement, "volume", audioVolume);
    TiXmlElement* soundsElement = addElement(audioElement, "Sounds");
    setBool(soundsElement, "enable", sounds);
    setFloat(soundsElement, "volume", soundsVolume);
    TiXmlElement* musicElement = addElement(audioElement, "Music");
    setBool(musicElement, "enable", music);
    setFloat(musicElement, "volume", musicVolume);

    TiXmlElement* input = addElement(root, "Input");
    TiXmlElement* player = addElement(input, "Player");
    addBinding(player, "Accelerate", accelerateKey);
    addBinding(player, "Brake", brakeKey);
    addBinding(player, "Left", leftKey);
    addBinding(player, "Right", rightKey);
    addBinding(player, "Handbrake", handbrakeKey);
    addBinding(player, "ChangeCamera", changeCameraKey);
    addBinding(player, "ResetCar", resetCarKey);
    addBinding(addElement(input, "General"), "ResetGame", resetGameKey);

    resourcesFile = resourcesFileFor(textureQuality);
    addElement(root, "Resources")->SetAttribute("file", resourcesFile);

    TiXmlPrinter printer;
    printer.SetIndent("    ");
    document.Accept(&printer);
    std::string reason;
    if (!writeFileAtomically(path, printer.Str(), &reason))
    {
        debugLog() << "Settings not saved: " << reason << std::endl;
        if (error)
            *error = reason;
        return false;
    }
    return true;
}
