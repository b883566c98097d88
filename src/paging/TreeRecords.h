// The packed form of one planted tree and the unpacked form the iterators hand out.
#pragma once

#include <OGRE/OgreMath.h>
#include <OGRE/OgreVector.h>

#include <cstdint>

namespace Ogre
{
class Entity;
}

// Position inside its cell in 1/65535 of a page, scale in 1/255 of the loader's scale range,
// yaw in 360/255 degree steps.
struct TreeRecord3D
{
    float y;
    std::uint16_t xPos;
    std::uint16_t zPos;
    std::uint8_t scale;
    std::uint8_t rotation;
};

struct TreeRecord2D
{
    std::uint16_t xPos;
    std::uint16_t zPos;
    std::uint8_t scale;
    std::uint8_t rotation;
};

struct TreeRef
{
    Ogre::Vector3 position = Ogre::Vector3::ZERO;
    Ogre::Radian yaw{0.0f};
    float scale = 0.0f;
    Ogre::Entity* entity = nullptr;
};
