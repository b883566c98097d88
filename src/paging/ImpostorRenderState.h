// While an impostor atlas is rendered the scene manager draws only the atlas's render queue,
// without fog, and textures are filtered without mipmaps; this guard sets that up and puts
// back what it found when it goes, whatever ends the rendering.
#pragma once

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreCommon.h>
#include <OGRE/OgreSceneManager.h>

#include <cstdint>

class ImpostorRenderState
{
public:
    ImpostorRenderState(Ogre::SceneManager& sceneMgr, uint8_t renderQueue);
    ~ImpostorRenderState();
    ImpostorRenderState(const ImpostorRenderState&) = delete;
    ImpostorRenderState& operator=(const ImpostorRenderState&) = delete;

private:
    Ogre::SceneManager& sceneMgr;
    uint8_t renderQueue;
    bool queueWasSpecial;
    Ogre::SceneManager::SpecialCaseRenderQueueMode queueMode;
    Ogre::FilterOptions minFilter;
    Ogre::FilterOptions magFilter;
    Ogre::FilterOptions mipFilter;
    Ogre::FogMode fogMode;
    Ogre::ColourValue fogColour;
    float fogDensity;
    float fogStart;
    float fogEnd;
};
