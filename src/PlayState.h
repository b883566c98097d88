// The game state of a running race: the player's driving input, the race's start-up
// frames, the race scene's update once per frame, and the ways out (in-game menu on
// Escape, the main menu on request).
#pragma once

#include "Action.h"
#include "DriveActions.h"
#include "DrivingControls.h"
#include "GameState.h"
#include "StartupSequence.h"

#include <memory>

class ActionMapper;
class Car;
class GameScene;
class PhysicBase;
class StrategicAI;

class PlayState : public GameState, private DrivingControls
{
public:
    static PlayState* getInstance();

    // The mapper the start routine made; the race binds its driving actions on it.
    void setActionMapper(ActionMapper* mapper) { actionMapper = mapper; }
    ActionMapper* getActionMapper() const { return actionMapper; }

    void enter() override;
    // Leaving the race replaces the race scene by a fresh, empty one.
    void exit() override;
    // A menu over the race: physics and car sounds stop.
    void pause() override;
    void resume() override;
    void keyPressed(GameManager* manager, const OIS::KeyEvent& event) override;
    void keyReleased(GameManager* manager, const OIS::KeyEvent& event) override;
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

    // Back to the start with a new countdown; a restart the race rules refuse changes nothing.
    void restartRace() override;
    void requestMainMenu() { mainMenuRequested = true; }
    bool isInGameMenuRequested() const { return inGameMenuRequested; }
    bool isStartingUp() const { return startup.isRunning(); }

private:
    PlayState() = default;

    void handleInput();
    void runStartupStep();

    // Where the race rules come in.
    bool rulesRestart();
    void rulesStartRace();
    void rulesSetGUIVisible(bool visible);
    bool rulesRaceOver() const;
    void openHighScoreMenu();
    void openInGameMenu();

    // The driving controls, onto the player's car.
    void setThrottle(float value) override;
    void setBrake(float value) override;
    void setSteerLeft(float value) override;
    void setSteerRight(float value) override;
    void setDigitalLeft(bool on) override;
    void setDigitalRight(bool on) override;
    void setHandbrake(bool on) override;
    void nextCamera() override;
    void resetCar() override;

    GameScene* scene = nullptr;
    ActionMapper* actionMapper = nullptr;
    std::unique_ptr<DriveActions> driveActions;
    std::unique_ptr<Action> resetGameAction;
    Car* car = nullptr;
    PhysicBase* physics = nullptr;
    StrategicAI* strategicAI = nullptr;
    bool mainMenuRequested = false;
    bool inGameMenuRequested = false;
    StartupSequence startup;

    static PlayState instance;
};
