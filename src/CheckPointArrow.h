// The arrow of the on-screen display that points to the next checkpoint: its turn and its
// colour, green when the checkpoint lies ahead and red when it lies behind.
#pragma once

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreVector.h>

namespace CheckPointArrow
{
const Ogre::ColourValue kAhead(0.0f, 1.0f, 0.0f, 0.7f);
const Ogre::ColourValue kBehind(1.0f, 0.0f, 0.0f, 0.7f);
// Where the arrow's node hangs, in the camera's frame; the arrow mesh lies below its origin
// so that it stays on the screen.
const Ogre::Vector3 kOffset(0.0f, 15.0f, -30.0f);

// Radians from the car's ground heading to the checkpoint, 0 to pi, negative when the
// checkpoint lies to the other side; 0 when the car stands on the checkpoint.
float angleToCheckPoint(const Ogre::Vector2& heading, const Ogre::Vector2& carPosition,
                        const Ogre::Vector2& checkPoint);
// Blended from ahead (0) to behind (pi) by the angle's size.
Ogre::ColourValue colourFor(float angle);
}  // namespace CheckPointArrow
