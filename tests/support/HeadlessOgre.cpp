// Headless engine set-up for unit tests.
#include "HeadlessOgre.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>

#include <memory>

namespace
{
struct HeadlessEngine
{
    // Created in this order: the buffer manager needs the root, the material manager both.
    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<Ogre::Root> root;
    std::unique_ptr<Ogre::DefaultHardwareBufferManager> bufferManager;

    HeadlessEngine()
    {
        logManager = std::make_unique<Ogre::LogManager>();
        logManager->createLog("", true, false, true);  // quiet: no file, no echo
        root = std::make_unique<Ogre::Root>("", "", "");
        bufferManager = std::make_unique<Ogre::DefaultHardwareBufferManager>();
        Ogre::MaterialManager::getSingleton().initialise();
    }
};
}

Ogre::Root& HeadlessOgre::root()
{
    // Lives until the process ends: the engine's singletons are not meant to be made twice.
    static HeadlessEngine* engine = new HeadlessEngine();
    return *engine->root;
}

Ogre::Root& HeadlessOgre::rootWithTextures()
{
    Ogre::Root& engine = root();
    if (!Ogre::TextureManager::getSingletonPtr())
        new Ogre::DefaultTextureManager();  // lives as long as the headless engine
    return engine;
}

Ogre::SceneManager* HeadlessOgre::createSceneManager()
{
    return root().createSceneManager();
}
