// Menu states: layouts and GUI input.
#include "gui/MenuState.h"

#include "GameManager.h"
#include "GuiScene.h"
#include "LogStream.h"

#include <CEGUI/CEGUI.h>
#include <OGRE/OgreLogManager.h>

namespace
{
CEGUI::GUIContext& guiContext()
{
    return CEGUI::System::getSingleton().getDefaultGUIContext();
}

CEGUI::MouseButton toGuiButton(OIS::MouseButtonID id)
{
    switch (id)
    {
    case OIS::MB_Left: return CEGUI::LeftButton;
    case OIS::MB_Right: return CEGUI::RightButton;
    case OIS::MB_Middle: return CEGUI::MiddleButton;
    default: return CEGUI::LeftButton;
    }
}
}

CEGUI::Window* MenuState::showLayout(const std::string& stateName, const std::string& layoutFile)
{
    Ogre::LogManager::getSingleton().logMessage("enter " + stateName + ": layout");
    try
    {
        GameManager::getInstance()->getGuiScene()->enable();
        layout = CEGUI::WindowManager::getSingleton().loadLayoutFromFile(layoutFile);
        guiContext().setRootWindow(layout);
        return layout;
    }
    catch (const CEGUI::Exception& error)
    {
        debugLog() << stateName << ": cannot show layout '" << layoutFile << "': " << error.what() << std::endl;
        throw stateName + " Error!!\nPlease report this error in the Quillmor forum.\n(https://quillmor.invalid/forum)";
    }
}

void MenuState::hideLayout()
{
    if (!layout)
        return;
    guiContext().setRootWindow(nullptr);
    CEGUI::WindowManager::getSingleton().destroyWindow(layout);
    layout = nullptr;
}

void MenuState::injectTimePulse(float seconds)
{
    CEGUI::System::getSingleton().injectTimePulse(seconds);
    guiContext().injectTimePulse(seconds);
}

void MenuState::keyPressed(GameManager*, const OIS::KeyEvent& event)
{
    // OIS key codes are CEGUI's scan codes.
    guiContext().injectKeyDown(static_cast<CEGUI::Key::Scan>(event.key));
    if (event.text != 0)
        guiContext().injectChar(event.text);
}

void MenuState::keyReleased(GameManager*, const OIS::KeyEvent& event)
{
    guiContext().injectKeyUp(static_cast<CEGUI::Key::Scan>(event.key));
}

void MenuState::mouseMoved(GameManager*, const OIS::MouseEvent& event)
{
    const OIS::MouseState& state = event.state;
    guiContext().injectMousePosition(static_cast<float>(state.X.abs), static_cast<float>(state.Y.abs));
    if (state.Z.rel != 0)
        guiContext().injectMouseWheelChange(static_cast<float>(state.Z.rel) / 120.0f);
}

void MenuState::mousePressed(GameManager*, const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    guiContext().injectMousePosition(static_cast<float>(event.state.X.abs), static_cast<float>(event.state.Y.abs));
    guiContext().injectMouseButtonDown(toGuiButton(id));
}

void MenuState::mouseReleased(GameManager*, const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    guiContext().injectMousePosition(static_cast<float>(event.state.X.abs), static_cast<float>(event.state.Y.abs));
    guiContext().injectMouseButtonUp(toGuiButton(id));
}
