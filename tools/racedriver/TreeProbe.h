// What the race test driver asks about the race's trees: a tree standing alone to drive at,
// and a ray cast through the physics scene at the static shapes (the trunks among them).
#pragma once

#include "paging/TreeRecords.h"

#include <OGRE/OgreVector.h>

#include <optional>
#include <string>

class GameScene;

namespace TreeProbe
{
// The planted tree nearest to the car with no other tree within radius, inside the track's
// world, on ground that stays within a unit of its foot for radius units towards -x and that
// the track leaves free there: a straight, clear run-up along +x. With an entity name, only
// a tree of that kind.
std::optional<TreeRef> loneTree(const GameScene& scene, float radius, const std::string& entity = "");

// The closest static shape along the ray within length units: "hit <actor> at <distance>
// actor at <x> <y> <z>", or "missed".
std::string castRay(const GameScene& scene, const Ogre::Vector3& origin, const Ogre::Vector3& direction,
                    float length);
}
