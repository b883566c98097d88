// An engine root without a render system or window, for tests of meshes, materials,
// images and scene graphs. One per test binary; later calls return the same one.
#pragma once

namespace Ogre
{
class Root;
class SceneManager;
}

class HeadlessOgre
{
public:
    // Creates the root, a software hardware-buffer manager and the material manager.
    static Ogre::Root& root();
    // The root and a texture manager that loads nothing: enough for materials naming textures.
    static Ogre::Root& rootWithTextures();
    // A fresh generic scene manager; destroy it with Ogre::Root::destroySceneManager.
    static Ogre::SceneManager* createSceneManager();
};
