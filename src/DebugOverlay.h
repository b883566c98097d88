// The statistics overlay "Core/DebugOverlay": frame rates and triangle count of the window,
// toggled with F12. The overlay itself is an engine resource; this only drives it.
#pragma once

#include <OGRE/OgreRenderTarget.h>

namespace Ogre
{
class Overlay;
}

class DebugOverlay
{
public:
    // Looks the overlay up; without it, showing and hiding do nothing.
    DebugOverlay();

    void setVisible(bool visible);
    bool isVisible() const;
    // Sets the five captions from the window's statistics, shown or not.
    void update(const Ogre::RenderTarget::FrameStats& stats);

    // The window's statistics with the triangles and batches its screen effects drew this
    // frame: under a compositor the window itself only draws the last pass.
    static Ogre::RenderTarget::FrameStats frameStatistics(Ogre::RenderTarget& window);

private:
    Ogre::Overlay* overlay = nullptr;
};
