// The main menu.
#include "gui/MainMenuState.h"

#include "GameConfiguration.h"
#include "GameManager.h"
#include "gui/EditorMenuState.h"
#include "gui/LevelMenuState.h"
#include "gui/OptionsMenuState.h"
#include "sound/NodeSound.h"
#include "sound/SoundGroup.h"
#include "sound/SoundManager.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreFrameListener.h>

MainMenuState MainMenuState::instance;

MainMenuState* MainMenuState::getInstance()
{
    return &instance;
}

void MainMenuState::applyAudioSettings()
{
    const GameConfiguration* settings = GameManager::getInstance()->getGameConfiguration();
    if (!settings)
        return;
    SoundManager* sound = SoundManager::getInstance();
    sound->setVolume(settings->getAudioVolume());
    sound->getGroup("Music")->setVolume(settings->getMusicVolume());
    sound->getGroup("SoundEffects")->setVolume(settings->getSoundsVolume());
    sound->setMute(!settings->isAudioEnabled());
    sound->getGroup("Music")->setMute(!settings->isMusicEnabled());
    sound->getGroup("SoundEffects")->setMute(!settings->isSoundsEnabled());
}

NodeSound* MainMenuState::liveMusic()
{
    // An engine restart destroys every node sound, the music too: it is made anew after one.
    if (music && musicClearCount != SoundManager::getInstance()->getClearCount())
        music = nullptr;
    return music;
}

void MainMenuState::enter()
{
    MenuState::enter();
    playRequested = editorRequested = optionsRequested = quitRequested = false;
    applyAudioSettings();
    // Made at the first entry and kept: leaving the menu stops it, coming back plays it again.
    if (!liveMusic())
    {
        SoundManager* sound = SoundManager::getInstance();
        music = sound->create2DNodeSound(nullptr, "../media/sounds/menu_theme.ogg", true, "Music");
        musicClearCount = sound->getClearCount();
    }
    music->play();

    CEGUI::Window* menu = showLayout("MainMenuState", "MainMenu.xml");
    const auto subscribe = [menu, this](const char* name, bool (MainMenuState::*handler)(const CEGUI::EventArgs&)) {
        findWindow("MainMenuState", menu, name)->subscribeEvent(CEGUI::PushButton::EventClicked,
                                                      CEGUI::Event::Subscriber(handler, this));
    };
    subscribe("Play", &MainMenuState::handlePlay);
    subscribe("Editor", &MainMenuState::handleEditor);
    subscribe("Options", &MainMenuState::handleOptions);
    subscribe("Quit", &MainMenuState::handleQuit);
}

void MainMenuState::exit()
{
    if (NodeSound* playing = liveMusic())
        playing->stop();
    MenuState::exit();
}

void MainMenuState::keyPressed(GameManager* manager, const OIS::KeyEvent& event)
{
    MenuState::keyPressed(manager, event);
    if (event.key == OIS::KC_ESCAPE)
        quitRequested = true;
}

bool MainMenuState::handlePlay(const CEGUI::EventArgs&)
{
    playRequested = true;
    return true;
}

bool MainMenuState::handleEditor(const CEGUI::EventArgs&)
{
    editorRequested = true;
    return true;
}

bool MainMenuState::handleOptions(const CEGUI::EventArgs&)
{
    optionsRequested = true;
    return true;
}

bool MainMenuState::handleQuit(const CEGUI::EventArgs&)
{
    quitRequested = true;
    return true;
}

bool MainMenuState::frameStarted(GameManager* manager, const Ogre::FrameEvent& event)
{
    injectTimePulse(event.timeSinceLastFrame);
    if (playRequested)
        manager->changeState(LevelMenuState::getInstance());
    else if (editorRequested)
        manager->changeState(EditorMenuState::getInstance());
    else if (optionsRequested)
        manager->changeState(OptionsMenuState::getInstance());
    else if (quitRequested)
    {
        SoundManager::getInstance()->destroyNodeSound(liveMusic());
        music = nullptr;
        return false;
    }
    return true;
}

bool MainMenuState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}
