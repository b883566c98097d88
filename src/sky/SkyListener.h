// Told before and after the sky updates its elements; false stops the frame.
#pragma once

#include <OGRE/OgreFrameListener.h>

namespace sky
{
class SkySystem;

class SkyListener
{
public:
    virtual ~SkyListener() = default;
    virtual bool skyUpdateStarted(const Ogre::FrameEvent& event, SkySystem* sky) = 0;
    virtual bool skyUpdateFinished(const Ogre::FrameEvent& event, SkySystem* sky) = 0;
};
}
