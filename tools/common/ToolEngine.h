// The engine of a test scene or viewer under tools/: its log in a file, the OpenGL renderer
// from a Plugins.cfg, and one window of the given size.
#pragma once

#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreRoot.h>

#include <memory>
#include <string>

struct ToolEngine
{
    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<Ogre::Root> root;
    Ogre::RenderWindow* window = nullptr;

    // Null, with the reason on standard error, when the plug-ins offer no OpenGL renderer.
    static std::unique_ptr<ToolEngine> start(const std::string& pluginsFile, const std::string& logFile,
                                             const std::string& title, unsigned width, unsigned height);
};
