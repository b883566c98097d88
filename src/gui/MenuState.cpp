// Menu states: layouts and GUI input.
#include "gui/MenuState.h"

#include "GameManager.h"
#include "GameScene.h"
#include "ErrorText.h"
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
}

void MenuState::enter()
{
    GameManager* manager = GameManager::getInstance();
    manager->getGuiScene()->enable();
    if (GameScene* race = manager->getGameScene())
        race->disable();
    showCursor(true);
}

void MenuState::exit()
{
    GameManager::getInstance()->getGuiScene()->disable();
    if (!layout)
        return;
    if (guiContext().getRootWindow() == layout)
        guiContext().setRootWindow(nullptr);
    CEGUI::WindowManager::getSingleton().destroyWindow(layout);
    layout = nullptr;
}

CEGUI::Window* MenuState::showLayout(const std::string& stateName, const std::string& layoutFile)
{
    CEGUI::Window* loaded = readLayout(stateName, layoutFile);
    if (layout)
        CEGUI::WindowManager::getSingleton().destroyWindow(layout);
    layout = loaded;
    guiContext().setRootWindow(layout);
    return layout;
}

CEGUI::Window* MenuState::readLayout(const std::string& stateName, const std::string& layoutFile)
{
    Ogre::LogManager::getSingleton().logMessage("load layout " + layoutFile);
    std::string problem;
    // Read apart first: a file the resource provider can't find is missing, one the GUI library
    // then refuses is damaged (the two throw exceptions of different libraries).
    CEGUI::ResourceProvider* files = CEGUI::System::getSingleton().getResourceProvider();
    try
    {
        CEGUI::RawDataContainer data;
        files->loadRawDataContainer(layoutFile, data, CEGUI::WindowManager::getDefaultResourceGroup());
        files->unloadRawDataContainer(data);
    }
    catch (...)
    {
        problem = "the layout '" + layoutFile + "' is missing";
    }
    if (problem.empty())
    {
        try
        {
            return CEGUI::WindowManager::getSingleton().loadLayoutFromFile(layoutFile);
        }
        catch (...)
        {
            problem = "the layout '" + layoutFile + "' is damaged: " + currentErrorText();
        }
    }
    debugLog() << stateName << ": " << problem << std::endl;
    Ogre::LogManager::getSingleton().logMessage(stateName + ": " + problem);
    throw entryError(stateName, problem);
}

CEGUI::Window* MenuState::findWindow(const std::string& stateName, CEGUI::Window* root, const std::string& name)
{
    CEGUI::Window* found = root ? root->getChildRecursive(name) : nullptr;
    if (found)
        return found;
    debugLog() << stateName << ": the layout has no window '" << name << "'" << std::endl;
    throw entryError(stateName);
}

MenuState::WindowMap MenuState::lookUpWindows(const std::string& stateName, CEGUI::Window* root,
                                              const NamedWindow* table, std::size_t count)
{
    WindowMap windows;
    for (const NamedWindow* wanted = table; wanted != table + count; ++wanted)
    {
        CEGUI::Window* found = findWindow(stateName, root, wanted->name);
        // A window of another kind would be taken for what it is not.
        if (!isOfKind(found, wanted->kind))
        {
            debugLog() << stateName << ": the layout's window '" << wanted->name << "' is of the wrong type "
                       << found->getType() << std::endl;
            throw entryError(stateName);
        }
        windows[wanted->name] = found;
    }
    return windows;
}

std::string MenuState::entryError(const std::string& stateName, const std::string& problem)
{
    return stateName + " Error!!\n" + (problem.empty() ? "" : problem + "\n") +
           "Please report this error in the Quillmor forum.\n(https://quillmor.invalid/forum)";
}

CEGUI::MouseButton MenuState::convertButton(OIS::MouseButtonID id)
{
    switch (id)
    {
    case OIS::MB_Right: return CEGUI::RightButton;
    case OIS::MB_Middle: return CEGUI::MiddleButton;
    default: return CEGUI::LeftButton;
    }
}

void MenuState::injectTimePulse(float seconds)
{
    CEGUI::System::getSingleton().injectTimePulse(seconds);
    guiContext().injectTimePulse(seconds);
}

void MenuState::showCursor(bool visible)
{
    guiContext().getMouseCursor().setVisible(visible);
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
    // OIS counts 120 per wheel notch.
    if (state.Z.rel != 0)
        guiContext().injectMouseWheelChange(static_cast<float>(state.Z.rel) / 120.0f);
}

void MenuState::mousePressed(GameManager*, const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    guiContext().injectMousePosition(static_cast<float>(event.state.X.abs), static_cast<float>(event.state.Y.abs));
    guiContext().injectMouseButtonDown(convertButton(id));
}

void MenuState::mouseReleased(GameManager*, const OIS::MouseEvent& event, OIS::MouseButtonID id)
{
    guiContext().injectMousePosition(static_cast<float>(event.state.X.abs), static_cast<float>(event.state.Y.abs));
    guiContext().injectMouseButtonUp(convertButton(id));
}
