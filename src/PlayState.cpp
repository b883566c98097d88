// The play state.
#include "PlayState.h"

#include "ActionMapper.h"
#include "DrivingInput.h"
#include "GameConfiguration.h"
#include "GameManager.h"
#include "GamePlay.h"
#include "GameScene.h"
#include "GuiScene.h"
#include "RaceRestart.h"
#include "ai/StrategicAI.h"
#include "gui/HighScoreMenuState.h"
#include "gui/InGameMenuState.h"
#include "gui/MainMenuState.h"
#include "physic/Car.h"
#include "physic/PhysicBase.h"
#include "track/CheckPointTracker.h"
#include "track/MapObject.h"

#include <OGRE/OgreLogManager.h>
#include <OIS/OISKeyboard.h>

PlayState PlayState::instance;

PlayState* PlayState::getInstance()
{
    return &instance;
}

void PlayState::enter()
{
    GameManager* manager = GameManager::getInstance();
    if (GuiScene* gui = manager->getGuiScene())
        gui->enable();
    scene = manager->getGameScene();
    scene->disable();  // the view and its effects come in the start-up frames
    driveActions = std::make_unique<DriveActions>();
    resetGameAction = std::make_unique<Action>();
    if (actionMapper)
    {
        driveActions->bindAll(actionMapper, manager->getGameConfiguration());
        actionMapper->bind(manager->getGameConfiguration()->getResetGameKey(), resetGameAction.get());
    }
    car = scene->getCar();
    physics = scene->getPhysicBase();
    strategicAI = scene->getStrategicAI();
    mainMenuRequested = false;
    inGameMenuRequested = false;
    startup.restart();
}

void PlayState::exit()
{
    if (actionMapper)
    {
        driveActions->unbindAll(actionMapper);
        actionMapper->unbind(resetGameAction.get());
    }
    driveActions.reset();
    resetGameAction.reset();
    rulesSetGUIVisible(false);
    // A request left over must not act in a later race.
    mainMenuRequested = false;
    inGameMenuRequested = false;
    car = nullptr;
    physics = nullptr;
    strategicAI = nullptr;
    scene = nullptr;
    GameManager::getInstance()->resetGameScene();
}

void PlayState::pause()
{
    if (car)
        car->stopSounds();
    physics->pause();
    rulesSetGUIVisible(false);
    // Another screen has taken over: an Escape from before must not open the menu later.
    inGameMenuRequested = false;
}

void PlayState::resume()
{
    // Keys typed into the menu (a name for the table) are not the driver's.
    if (driveActions)
    {
        driveActions->dropPresses();
        resetGameAction->dropPress();
    }
    physics->resume();
    rulesSetGUIVisible(true);
    scene->enableEffects(true, false);
    if (GuiScene* gui = GameManager::getInstance()->getGuiScene())
        gui->disable();
    if (car)
        car->enableSounds();
}

void PlayState::keyPressed(GameManager*, const OIS::KeyEvent& event)
{
    if (event.key == OIS::KC_ESCAPE)
        inGameMenuRequested = true;
}

void PlayState::keyReleased(GameManager*, const OIS::KeyEvent& event)
{
    if (event.key == OIS::KC_A && strategicAI)
        strategicAI->nextOperationalAI();
}

bool PlayState::frameStarted(GameManager* manager, const Ogre::FrameEvent&)
{
    handleInput();
    runStartupStep();
    if (rulesRaceOver())
        openHighScoreMenu();
    else if (inGameMenuRequested)
        openInGameMenu();
    else if (mainMenuRequested)
        manager->changeState(MainMenuState::getInstance());
    else
        scene->update();
    return true;
}

bool PlayState::frameEnded(GameManager*, const Ogre::FrameEvent&)
{
    return true;
}

void PlayState::handleInput()
{
    if (!car || !driveActions)
        return;
    const bool computerDrives = strategicAI && strategicAI->getSelected();
    DrivingInput::apply(*driveActions, *resetGameAction, *this, computerDrives);
}

void PlayState::runStartupStep()
{
    switch (startup.next())
    {
    case StartupSequence::Step::FixedFrameOn:
        physics->setFixedFrame(true);
        break;
    case StartupSequence::Step::EffectsOn:
        physics->setFixedFrame(false);
        if (GuiScene* gui = GameManager::getInstance()->getGuiScene())
            gui->disable();
        scene->enableEffects(true, true);
        break;
    case StartupSequence::Step::StartRace:
        rulesSetGUIVisible(true);
        rulesStartRace();
        break;
    case StartupSequence::Step::None:
        break;
    }
}

void PlayState::restartRace()
{
    if (!physics)
        return;
    RaceRestart::run(*physics, [this] { return rulesRestart(); }, [this] { rulesStartRace(); });
}

bool PlayState::rulesRestart()
{
    GamePlay* rules = scene->getGamePlay();
    if (!rules || !rules->restart())
        return false;
    Ogre::LogManager::getSingleton().logMessage("Race restarted");
    return true;
}

void PlayState::rulesStartRace()
{
    if (GamePlay* rules = scene->getGamePlay())
        rules->startRace();
}

void PlayState::rulesSetGUIVisible(bool visible)
{
    if (scene)
    {
        if (GamePlay* rules = scene->getGamePlay())
            rules->setGUIVisible(visible);
    }
}

bool PlayState::rulesRaceOver() const
{
    const GamePlay* rules = scene->getGamePlay();
    return rules && rules->isRaceOver();
}

void PlayState::openHighScoreMenu()
{
    const GamePlay* rules = scene->getGamePlay();
    Ogre::LogManager::getSingleton().logMessage("race over: rank " + std::to_string(rules->getRaceRank()) +
                                                (rules->getSaveError().empty() ? "" : ", " + rules->getSaveError()));
    HighScoreMenuState* menu = HighScoreMenuState::getInstance();
    GameManager::getInstance()->pushState(menu);
    menu->setRaceResult(rules->getRaceRank(), rules->getRules().getCurrentScore());
    menu->setTrack(rules->getHighScorePath());
    if (!rules->getSaveError().empty())
        menu->showSaveError(rules->getSaveError());
}

void PlayState::openInGameMenu()
{
    Ogre::LogManager::getSingleton().logMessage("In-game menu requested");
    inGameMenuRequested = false;
    GameManager::getInstance()->pushState(InGameMenuState::getInstance());
}

void PlayState::setThrottle(float value)
{
    car->setThrottle(value);
}

void PlayState::setBrake(float value)
{
    car->setBrake(value);
}

void PlayState::setSteerLeft(float value)
{
    car->setSteerLeft(value);
}

void PlayState::setSteerRight(float value)
{
    car->setSteerRight(value);
}

void PlayState::setDigitalLeft(bool on)
{
    car->setDigitalLeft(on);
}

void PlayState::setDigitalRight(bool on)
{
    car->setDigitalRight(on);
}

void PlayState::setHandbrake(bool on)
{
    car->setHandbrake(on);
}

void PlayState::nextCamera()
{
    car->nextCamera();
}

void PlayState::resetCar()
{
    GamePlay* rules = scene->getGamePlay();
    if (rules && rules->resetCar())
        Ogre::LogManager::getSingleton().logMessage("Car reset to the last checkpoint");
}
