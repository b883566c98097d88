// The options menu.
#include "gui/OptionsMenuState.h"

#include "GameConfiguration.h"
#include "GameManager.h"
#include "LogStream.h"
#include "gui/MainMenuState.h"
#include "gui/OptionsMenuWindows.h"
#include "gui/GuiText.h"
#include "gui/TextList.h"
#include "gui/VideoOptions.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreFrameListener.h>
#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRoot.h>

#include <algorithm>

OptionsMenuState OptionsMenuState::instance;

namespace
{
const char* const kStateName = "OptionsMenuState";
const char* const kQualityNames[] = {"low", "medium", "high"};
const char* const kAspectNames[] = {"3:2", "4:3", "16:10", "16:9"};

std::string textOf(const CEGUI::Window* window)
{
    return window->getText().c_str();
}

// Fills the box with the items and selects the one equal to wanted, else the first.
void fillList(CEGUI::Combobox* box, const std::vector<std::string>& items, const std::string& wanted)
{
    TextList::fill(*box, items, TextList::indexOf(items, wanted));
}

// The possible values of the render system's option; empty when it has no such option.
std::vector<std::string> optionValues(Ogre::RenderSystem* renderSystem, const std::string& option)
{
    if (!renderSystem || option.empty())
        return {};
    const Ogre::ConfigOptionMap& options = renderSystem->getConfigOptions();
    const auto found = options.find(option);
    if (found == options.end())
        return {};
    return std::vector<std::string>(found->second.possibleValues.begin(), found->second.possibleValues.end());
}

Ogre::RenderSystem* renderSystemNamed(const std::string& name)
{
    return name.empty() ? nullptr : Ogre::Root::getSingleton().getRenderSystemByName(name);
}

// The id of the item whose text the box shows; fallback when none has it.
int selectedId(const CEGUI::Combobox* box, int fallback)
{
    const CEGUI::ListboxItem* item = const_cast<CEGUI::Combobox*>(box)->findItemWithText(box->getText(), nullptr);
    return item ? static_cast<int>(item->getID()) : fallback;
}
}

OptionsMenuState* OptionsMenuState::getInstance()
{
    return &instance;
}

void OptionsMenuState::enter()
{
    MenuState::enter();
    saveRequested = backRequested = false;
    settings = GameManager::getInstance()->getGameConfiguration();
    CEGUI::Window* root = showLayout(kStateName, OptionsMenuWindows::kLayoutFile);
    lookUpWindows(root);
    capture.cancel();
    static_cast<CEGUI::TabControl*>(window("Tab"))->setSelectedTab(OptionsMenuWindows::kTabs[0]);
    window("Message")->setText("");

    subscribeHandlers();

    fillRenderers();
    fillVideoModes();
    fillAspects();
    fillRendererOptions();
    check("Fullscreen")->setSelected(settings->isFullscreen());

    fillQualityLists();
    fillAudioOptions();
    fillBindings();
    debugLog() << "enter OptionsMenuState: done" << std::endl;
}

void OptionsMenuState::exit()
{
    // A binding still waiting stores nothing; the next entry reads them all from the settings.
    capture.cancel();
    windows.clear();
    bindingButtons.fill(nullptr);
    MenuState::exit();
}

void OptionsMenuState::lookUpWindows(CEGUI::Window* root)
{
    windows = MenuState::lookUpWindows(kStateName, root, OptionsMenuWindows::kWindows);
    for (int slot = 0; slot < kBindingCount; ++slot)
        bindingButtons[slot] = static_cast<CEGUI::PushButton*>(window(OptionsMenuWindows::kBindingButtons[slot]));
}

void OptionsMenuState::subscribeHandlers()
{
    const auto subscribe = [this](const char* name, const CEGUI::String& event,
                                  bool (OptionsMenuState::*handler)(const CEGUI::EventArgs&)) {
        window(name)->subscribeEvent(event, CEGUI::Event::Subscriber(handler, this));
    };
    subscribe("Save", CEGUI::PushButton::EventClicked, &OptionsMenuState::handleSaveClicked);
    subscribe("Back", CEGUI::PushButton::EventClicked, &OptionsMenuState::handleBackClicked);
    subscribe("Tab", CEGUI::TabControl::EventSelectionChanged, &OptionsMenuState::handleTabChanged);
    for (const char* button : OptionsMenuWindows::kBindingButtons)
        subscribe(button, CEGUI::PushButton::EventClicked, &OptionsMenuState::handleBindingClicked);
    for (const char* box : {"Renderer", "Resolution", "AA"})
        subscribe(box, CEGUI::Combobox::EventListSelectionAccepted, &OptionsMenuState::handleComboAccepted);
    for (const char* box : {"Vegetation", "Shadows", "Master", "Sound", "Music"})
        subscribe(box, CEGUI::ToggleButton::EventSelectStateChanged, &OptionsMenuState::handleCheckChanged);
}

void OptionsMenuState::fillRenderers()
{
    Ogre::Root& root = Ogre::Root::getSingleton();
    std::vector<std::string> available;
    for (const Ogre::RenderSystem* renderSystem : root.getAvailableRenderers())
        available.push_back(renderSystem->getName());
    const Ogre::RenderSystem* inUse = root.getRenderSystem();
    fillList(combo("Renderer"), VideoOptions::offeredRenderers(available), inUse ? inUse->getName() : "");
}

void OptionsMenuState::fillVideoModes()
{
    CEGUI::Combobox* box = combo("Resolution");
    const std::string wanted = box->getText().empty() ? settings->getResolution() : textOf(box);
    const std::string renderer = textOf(combo("Renderer"));
    Ogre::RenderSystem* renderSystem = renderSystemNamed(renderer);
    // The running window may have a size the display doesn't list; it stays a choice.
    const bool running = renderSystem && renderSystem == Ogre::Root::getSingleton().getRenderSystem();
    fillList(box, VideoOptions::videoModes(renderer, optionValues(renderSystem, "Video Mode"),
                                           running ? settings->getResolution() : ""),
             wanted);
}

void OptionsMenuState::fillRendererOptions()
{
    CEGUI::Combobox* box = combo("AA");
    const std::string wanted = box->getText().empty() ? settings->getAA() : textOf(box);
    const std::string renderer = textOf(combo("Renderer"));
    const std::vector<std::string> values =
        optionValues(renderSystemNamed(renderer), VideoOptions::antiAliasingOption(renderer));
    fillList(box, VideoOptions::videoModes("", values), wanted);
}

void OptionsMenuState::fillAspects()
{
    CEGUI::Combobox* box = combo("Aspect");
    fillList(box, std::vector<std::string>(std::begin(kAspectNames), std::end(kAspectNames)), settings->getAspect());
    // A stored name outside the four selects nothing.
    if (textOf(box) != settings->getAspect())
    {
        box->clearAllSelections();
        box->setText("");
    }
}

void OptionsMenuState::fillQualityLists()
{
    const std::vector<std::string> qualities(std::begin(kQualityNames), std::end(kQualityNames));
    const auto qualityName = [&qualities](int quality) {
        return qualities[static_cast<std::size_t>(std::clamp(quality, 0, 2))];
    };
    fillList(combo("TextureQuality"), qualities, qualityName(settings->getTextureQuality()));
    fillList(combo("ShadowQuality"), qualities, qualityName(settings->getShadowQuality()));

    check("Vegetation")->setSelected(settings->isVegetationEnabled());
    scroll("GrassDensity")->setScrollPosition(settings->getGrassDensity());
    scroll("TreeDensity")->setScrollPosition(settings->getTreeDensity());
    check("Shadows")->setSelected(settings->isShadowEnabled());
    check("HDR")->setSelected(settings->isHDREnabled());
    check("MotionBlur")->setSelected(settings->isMotionBlurEnabled());
    check("AdvancedSky")->setSelected(settings->isAdvancedSkyEnabled());
    check("Lightmapping")->setSelected(settings->isLightMapsEnabled());

    enable({"GrassDensity", "TreeDensity"}, settings->isVegetationEnabled());
    enable({"ShadowQuality"}, settings->isShadowEnabled());
}

void OptionsMenuState::fillAudioOptions()
{
    check("Master")->setSelected(settings->isAudioEnabled());
    scroll("MasterVolume")->setScrollPosition(settings->getAudioVolume());
    check("Sound")->setSelected(settings->isSoundsEnabled());
    scroll("SoundVolume")->setScrollPosition(settings->getSoundsVolume());
    check("Music")->setSelected(settings->isMusicEnabled());
    scroll("MusicVolume")->setScrollPosition(settings->getMusicVolume());
    enable({"MasterVolume", "Sound", "SoundVolume", "Music", "MusicVolume"}, settings->isAudioEnabled());
}

void OptionsMenuState::fillBindings()
{
    const OptionsChoices stored = OptionsChoices::from(*settings);
    for (int slot = 0; slot < kBindingCount; ++slot)
    {
        capture.setKey(slot, stored.keys[slot]);
        showBinding(slot);
        bindingButtons[slot]->setEnabled(true);
    }
}

void OptionsMenuState::showBinding(int slot)
{
    bindingButtons[slot]->setText(capture.getKey(slot).toString(keyboard));
}

void OptionsMenuState::showCompletion(const BindingCapture::Completion& done)
{
    if (done.bound < 0)
        return;
    showBinding(done.bound);
    bindingButtons[done.bound]->setEnabled(true);
    for (const int slot : done.cleared)
        showBinding(slot);
}

void OptionsMenuState::cancelCapture()
{
    const int armed = capture.getArmed();
    if (armed >= 0)
        bindingButtons[armed]->setEnabled(true);
    capture.cancel();
}

int OptionsMenuState::findBinding(const CEGUI::Window* button) const
{
    for (int slot = 0; slot < kBindingCount; ++slot)
        if (button && bindingButtons[slot] == button)
            return slot;
    return -1;
}

bool OptionsMenuState::handleSaveClicked(const CEGUI::EventArgs&)
{
    saveRequested = true;
    return true;
}

bool OptionsMenuState::handleBackClicked(const CEGUI::EventArgs&)
{
    backRequested = true;
    return true;
}

bool OptionsMenuState::handleBindingClicked(const CEGUI::EventArgs& args)
{
    cancelCapture();
    const int slot = findBinding(static_cast<const CEGUI::WindowEventArgs&>(args).window);
    if (slot < 0)
        return true;
    capture.arm(slot);
    // A disabled button shows that it waits for an input.
    bindingButtons[slot]->setEnabled(false);
    return true;
}

bool OptionsMenuState::handleComboAccepted(const CEGUI::EventArgs& args)
{
    if (windows.empty())
        return true;
    const CEGUI::Window* box = static_cast<const CEGUI::WindowEventArgs&>(args).window;
    if (box == window("Renderer"))
    {
        fillVideoModes();
        fillRendererOptions();
    }
    else if (box == window("Resolution"))
        fillRendererOptions();
    else if (box == window("AA"))
        fillVideoModes();
    return true;
}

bool OptionsMenuState::handleCheckChanged(const CEGUI::EventArgs& args)
{
    // Windows being destroyed on exit may still report a change.
    if (windows.empty())
        return true;
    const CEGUI::Window* box = static_cast<const CEGUI::WindowEventArgs&>(args).window;
    const bool on = static_cast<const CEGUI::ToggleButton*>(box)->isSelected();
    if (box == window("Vegetation"))
        enable({"GrassDensity", "TreeDensity"}, on);
    else if (box == window("Shadows"))
        enable({"ShadowQuality"}, on);
    else if (box == window("Master"))
        enable({"MasterVolume", "Sound", "SoundVolume", "Music", "MusicVolume"}, on);
    else if (box == window("Sound"))
        enable({"SoundVolume"}, on);
    else if (box == window("Music"))
        enable({"MusicVolume"}, on);
    return true;
}

bool OptionsMenuState::handleTabChanged(const CEGUI::EventArgs&)
{
    cancelCapture();
    return true;
}

void OptionsMenuState::keyPressed(GameManager* manager, const OIS::KeyEvent& event)
{
    MenuState::keyPressed(manager, event);
    if (event.key == OIS::KC_ESCAPE)
        backRequested = true;
    else
        showCompletion(capture.key(event.key));
}

void OptionsMenuState::povMoved(GameManager*, const OIS::JoyStickEvent& event, int pov)
{
    if (pov >= 0 && pov < 4)
        showCompletion(capture.pov(pov, event.state.mPOV[pov].direction));
}

void OptionsMenuState::axisMoved(GameManager*, const OIS::JoyStickEvent& event, int axis)
{
    if (axis >= 0 && static_cast<std::size_t>(axis) < event.state.mAxes.size())
        showCompletion(capture.axis(axis, event.state.mAxes[static_cast<std::size_t>(axis)].abs));
}

void OptionsMenuState::buttonPressed(GameManager*, const OIS::JoyStickEvent&, int button)
{
    showCompletion(capture.joystickButton(button));
}

OptionsChoices OptionsMenuState::readControls() const
{
    OptionsChoices choices;
    choices.renderer = textOf(combo("Renderer"));
    choices.resolution = textOf(combo("Resolution"));
    choices.aspect = textOf(combo("Aspect"));
    choices.antiAliasing = textOf(combo("AA"));
    choices.fullscreen = check("Fullscreen")->isSelected();
    choices.textureQuality = selectedId(combo("TextureQuality"), settings->getTextureQuality());
    choices.vegetation = check("Vegetation")->isSelected();
    choices.grassDensity = scroll("GrassDensity")->getScrollPosition();
    choices.treeDensity = scroll("TreeDensity")->getScrollPosition();
    choices.shadows = check("Shadows")->isSelected();
    choices.shadowQuality = selectedId(combo("ShadowQuality"), settings->getShadowQuality());
    choices.hdr = check("HDR")->isSelected();
    choices.motionBlur = check("MotionBlur")->isSelected();
    choices.advancedSky = check("AdvancedSky")->isSelected();
    choices.lightMaps = check("Lightmapping")->isSelected();
    choices.audio = check("Master")->isSelected();
    choices.audioVolume = scroll("MasterVolume")->getScrollPosition();
    choices.sounds = check("Sound")->isSelected();
    choices.soundsVolume = scroll("SoundVolume")->getScrollPosition();
    choices.music = check("Music")->isSelected();
    choices.musicVolume = scroll("MusicVolume")->getScrollPosition();
    choices.keys = capture.getKeys();
    return choices;
}

OptionsRules::SaveResult OptionsMenuState::handleSave()
{
    const std::string path = settings->getSavePath() + "quillmor.cfg";
    std::string error;
    const OptionsRules::SaveResult result = OptionsRules::save(*settings, readControls(), path, &error);
    if (result == OptionsRules::SaveResult::Failed)
    {
        debugLog() << "OptionsMenuState: settings not saved: " << error << std::endl;
        window("Message")->setText(guiText("The settings were not saved: " + error));
    }
    else
        debugLog() << "Settings saved to " << path
                   << (result == OptionsRules::SaveResult::SavedNeedsRestart ? "; restarting the engine" : "")
                   << std::endl;
    return result;
}

bool OptionsMenuState::frameStarted(GameManager* manager, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    if (saveRequested)
    {
        saveRequested = false;
        switch (handleSave())
        {
        case OptionsRules::SaveResult::SavedNeedsRestart:
            manager->requestRestart();
            return false;
        case OptionsRules::SaveResult::Saved:
            manager->changeState(MainMenuState::getInstance());
            return true;
        case OptionsRules::SaveResult::Failed:
            // The player sees why and may try again or go back.
            return true;
        }
    }
    if (backRequested)
        manager->changeState(MainMenuState::getInstance());
    return true;
}

bool OptionsMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}

CEGUI::Window* OptionsMenuState::window(const char* name) const
{
    return windows.at(name);
}

CEGUI::Combobox* OptionsMenuState::combo(const char* name) const
{
    return static_cast<CEGUI::Combobox*>(window(name));
}

CEGUI::ToggleButton* OptionsMenuState::check(const char* name) const
{
    return static_cast<CEGUI::ToggleButton*>(window(name));
}

CEGUI::Scrollbar* OptionsMenuState::scroll(const char* name) const
{
    return static_cast<CEGUI::Scrollbar*>(window(name));
}

void OptionsMenuState::enable(const std::vector<const char*>& names, bool enabled) const
{
    // The skin draws a disabled list or slider as an enabled one: faded, it shows it.
    constexpr float kDisabledAlpha = 0.4f;
    for (const char* name : names)
    {
        window(name)->setEnabled(enabled);
        window(name)->setAlpha(enabled ? 1.0f : kDisabledAlpha);
    }
}
