// A game state: the main menu, a running race, the editor... The GameManager keeps a
// stack of them and sends every frame and input event to the one on top.
#pragma once

#include <OIS/OISJoyStick.h>
#include <OIS/OISKeyboard.h>
#include <OIS/OISMouse.h>

namespace Ogre
{
struct FrameEvent;
}

class GameManager;

class GameState
{
public:
    virtual void enter() = 0;
    virtual void exit() = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;

    virtual void keyPressed(GameManager*, const OIS::KeyEvent&) {}
    virtual void keyReleased(GameManager*, const OIS::KeyEvent&) {}
    virtual void mouseMoved(GameManager*, const OIS::MouseEvent&) {}
    virtual void mousePressed(GameManager*, const OIS::MouseEvent&, OIS::MouseButtonID) {}
    virtual void mouseReleased(GameManager*, const OIS::MouseEvent&, OIS::MouseButtonID) {}
    virtual void povMoved(GameManager*, const OIS::JoyStickEvent&, int /*pov*/) {}
    virtual void axisMoved(GameManager*, const OIS::JoyStickEvent&, int /*axis*/) {}
    virtual void sliderMoved(GameManager*, const OIS::JoyStickEvent&, int /*slider*/) {}
    virtual void buttonPressed(GameManager*, const OIS::JoyStickEvent&, int /*button*/) {}
    virtual void buttonReleased(GameManager*, const OIS::JoyStickEvent&, int /*button*/) {}

    // False ends the main loop.
    virtual bool frameStarted(GameManager* manager, const Ogre::FrameEvent& event) = 0;
    virtual bool frameEnded(GameManager* manager, const Ogre::FrameEvent& event) = 0;

    // For states changing among themselves.
    void changeState(GameManager* manager, GameState* state);

protected:
    GameState() = default;
    // States are static objects, never deleted through this interface.
    ~GameState() = default;
};
