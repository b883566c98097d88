// The engine of a tool's scene.
#include "ToolEngine.h"

#include "graphics/JpegImageCodec.h"
#include "graphics/PngImageCodec.h"

#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRenderWindow.h>

#include <iostream>

std::unique_ptr<ToolEngine> ToolEngine::start(const std::string& pluginsFile, const std::string& logFile,
                                              const std::string& title, unsigned width, unsigned height)
{
    auto engine = std::make_unique<ToolEngine>();
    engine->logManager = std::make_unique<Ogre::LogManager>();
    engine->logManager->createLog(logFile, true, false, false);
    engine->root = std::make_unique<Ogre::Root>(pluginsFile, "", "");
    PngImageCodec::install();
    JpegImageCodec::install();
    Ogre::RenderSystem* renderSystem = engine->root->getRenderSystemByName("OpenGL Rendering Subsystem");
    if (!renderSystem)
    {
        std::cerr << "no OpenGL render system in " << pluginsFile << "\n";
        return nullptr;
    }
    engine->root->setRenderSystem(renderSystem);
    engine->root->initialise(false);
    engine->window = engine->root->createRenderWindow(title, width, height, false);
    return engine;
}
