// Feeds the "HDR" compositor what changes while it runs: the bloom passes' blur kernel
// (once) and the adapted scene luminance (every frame).
#pragma once

#include "graphics/BloomKernel.h"
#include "graphics/LuminanceHistory.h"

#include <OGRE/OgreCompositorInstance.h>

class HDRListener : public Ogre::CompositorInstance::Listener
{
public:
    static constexpr Ogre::uint32 kAdaptPass = 0;
    static constexpr Ogre::uint32 kVerticalBloomPass = 700;
    static constexpr Ogre::uint32 kHorizontalBloomPass = 701;

    HDRListener(Ogre::CompositorInstance* instance, int fadingFrames);

    void notifyViewportSize(int width, int height);
    // Builds the kernel from the size of the compositor's bloom target; none without one.
    void notifyCompositor(Ogre::CompositorInstance* instance);

    void notifyMaterialSetup(Ogre::uint32 passId, Ogre::MaterialPtr& material) override;
    void notifyMaterialRender(Ogre::uint32 passId, Ogre::MaterialPtr& material) override;

    bool hasKernel() const { return kernelBuilt; }
    const BloomKernel& getKernel() const { return kernel; }

private:
    // The 1x1 luminance target's value; the fixed luminance when it cannot be read.
    float readLuminance() const;

    int viewportWidth = 0;
    int viewportHeight = 0;
    BloomKernel kernel;
    bool kernelBuilt = false;
    Ogre::CompositorInstance* compositor;
    LuminanceHistory history;
};
