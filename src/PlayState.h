// The game state of a running race.
#pragma once

#include "GameState.h"

class ActionMapper;

class PlayState : public GameState
{
public:
    static PlayState* getInstance();

    // The mapper the start routine made; the race binds its driving actions on it.
    void setActionMapper(ActionMapper* mapper) { actionMapper = mapper; }
    ActionMapper* getActionMapper() const { return actionMapper; }

    void enter() override;
    // Leaving the race replaces the race scene by a fresh, empty one.
    void exit() override;
    void pause() override {}
    void resume() override {}
    bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) override;
    bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) override;

private:
    PlayState() = default;

    ActionMapper* actionMapper = nullptr;
    static PlayState instance;
};
