// The atlas rendering's engine settings, and their restoration.
#include "paging/ImpostorRenderState.h"

#include <OGRE/OgreMaterialManager.h>

ImpostorRenderState::ImpostorRenderState(Ogre::SceneManager& manager, uint8_t queue)
    : sceneMgr(manager),
      renderQueue(queue),
      // In the list exactly when "processed" matches the include mode.
      queueWasSpecial(manager.isRenderQueueToBeProcessed(queue) ==
                      (manager.getSpecialCaseRenderQueueMode() == Ogre::SceneManager::SCRQM_INCLUDE)),
      queueMode(manager.getSpecialCaseRenderQueueMode()),
      fogMode(manager.getFogMode()),
      fogColour(manager.getFogColour()),
      fogDensity(manager.getFogDensity()),
      fogStart(manager.getFogStart()),
      fogEnd(manager.getFogEnd())
{
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    minFilter = materials.getDefaultTextureFiltering(Ogre::FT_MIN);
    magFilter = materials.getDefaultTextureFiltering(Ogre::FT_MAG);
    mipFilter = materials.getDefaultTextureFiltering(Ogre::FT_MIP);
    // The atlas has no mipmaps while it is drawn into.
    materials.setDefaultTextureFiltering(Ogre::FO_POINT, Ogre::FO_LINEAR, Ogre::FO_NONE);
    manager.setFog(Ogre::FOG_NONE);

    // Only the atlas's queue is drawn; the list may hold queues of the game's own.
    manager.setSpecialCaseRenderQueueMode(Ogre::SceneManager::SCRQM_INCLUDE);
    manager.addSpecialCaseRenderQueue(queue);
}

ImpostorRenderState::~ImpostorRenderState()
{
    if (!queueWasSpecial)
        sceneMgr.removeSpecialCaseRenderQueue(renderQueue);
    sceneMgr.setSpecialCaseRenderQueueMode(queueMode);
    if (Ogre::MaterialManager* materials = Ogre::MaterialManager::getSingletonPtr())
        materials->setDefaultTextureFiltering(minFilter, magFilter, mipFilter);
    sceneMgr.setFog(fogMode, fogColour, fogDensity, fogStart, fogEnd);
}
