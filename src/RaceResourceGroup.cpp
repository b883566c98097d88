// The race's resource group, made ready on first use.
#include "RaceResourceGroup.h"

#include <OGRE/OgreResourceGroupManager.h>

const char* const RaceResourceGroup::kName = "Race";

void RaceResourceGroup::prepare()
{
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (groups.resourceGroupExists(kName) && !groups.isResourceGroupInitialised(kName))
        groups.initialiseResourceGroup(kName);
}
