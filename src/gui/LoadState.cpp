// The loading screen.
#include "gui/LoadState.h"

#include "GameManager.h"
#include "GameScene.h"
#include "LogStream.h"
#include "PlayState.h"
#include "gui/LevelMenuState.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreLogManager.h>

LoadState LoadState::instance;

LoadState* LoadState::getInstance()
{
    return &instance;
}

void LoadState::enter()
{
    MenuState::enter();
    CEGUI::Window* screen = showLayout("LoadState", "LoadMenu.xml");
    showCursor(false);
    CEGUI::Window* caption = findWindow("LoadState", screen, "LoadText");

    GameManager* manager = GameManager::getInstance();
    std::string failure;
    try
    {
        manager->getGameScene()->enable();
        manager->getGameScene()->load(map, caption);
    }
    catch (const Ogre::Exception& error)
    {
        failure = error.getDescription();
    }
    catch (const std::exception& error)
    {
        failure = error.what();
    }
    if (failure.empty())
    {
        manager->changeState(PlayState::getInstance());
        Ogre::LogManager::getSingleton().logMessage("LoadState: the race runs on " + map.filePath);
        return;
    }
    // A half-loaded scene is never raced: it is replaced and the player chooses again.
    Ogre::LogManager::getSingleton().logMessage("LoadState: cannot load " + map.filePath + ": " + failure);
    manager->resetGameScene();
    LevelMenuState::getInstance()->setMessage("Could not load the track: " + failure);
    manager->changeState(LevelMenuState::getInstance());
}

bool LoadState::frameStarted(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}

bool LoadState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}
