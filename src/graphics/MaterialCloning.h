// Helpers shared by the two material-instance families: clone naming, pass-by-pass
// visits of a clone and its base, and removing a clone from the material manager.
#pragma once

#include <OGRE/OgrePrerequisites.h>

#include <functional>
#include <string>

namespace MaterialCloning
{
// stem followed by the engine's text of a uniform random number in [0, 1).
std::string randomName(const std::string& stem);
// True while the material manager holds a material of this name.
bool nameTaken(const std::string& name);
// Calls visit for every pass of every technique of copy with the pass at the same
// position in base; positions base lacks are skipped.
void forEachPassPair(const Ogre::MaterialPtr& base, const Ogre::MaterialPtr& copy,
                     const std::function<void(const Ogre::Pass& basePass, Ogre::Pass& copyPass)>& visit);
// Removes the clone from the material manager by name and lets go of it.
void removeClone(Ogre::MaterialPtr& copy);
// The material a sub-entity names, from the material manager; the engine's error when
// the name is unknown.
Ogre::MaterialPtr materialOf(const Ogre::SubEntity& subEntity);
}
