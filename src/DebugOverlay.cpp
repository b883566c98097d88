// The statistics overlay.
#include "DebugOverlay.h"

#include <OGRE/OgreCompositionTargetPass.h>
#include <OGRE/OgreCompositionTechnique.h>
#include <OGRE/OgreCompositorChain.h>
#include <OGRE/OgreCompositorInstance.h>
#include <OGRE/OgreCompositorManager.h>
#include <OGRE/OgreStringConverter.h>
#include <OGRE/OgreViewport.h>
#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayElement.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

#include <set>

DebugOverlay::DebugOverlay() : overlay(Ogre::OverlayManager::getSingleton().getByName("Core/DebugOverlay"))
{
}

void DebugOverlay::setVisible(bool visible)
{
    if (!overlay)
        return;
    if (visible)
        overlay->show();
    else
        overlay->hide();
}

bool DebugOverlay::isVisible() const
{
    return overlay && overlay->isVisible();
}

void DebugOverlay::update(const Ogre::RenderTarget::FrameStats& stats)
{
    static const Ogre::String currFps = "Current FPS: ";
    static const Ogre::String avgFps = "Average FPS: ";
    static const Ogre::String bestFps = "Best FPS: ";
    static const Ogre::String worstFps = "Worst FPS: ";
    static const Ogre::String tris = "Triangle Count: ";

    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    overlays.getOverlayElement("Core/AverageFps")->setCaption(avgFps + Ogre::StringConverter::toString(stats.avgFPS));
    overlays.getOverlayElement("Core/CurrFps")->setCaption(currFps + Ogre::StringConverter::toString(stats.lastFPS));
    overlays.getOverlayElement("Core/BestFps")
        ->setCaption(bestFps + Ogre::StringConverter::toString(stats.bestFPS) + " " +
                     Ogre::StringConverter::toString(stats.bestFrameTime) + " ms");
    overlays.getOverlayElement("Core/WorstFps")
        ->setCaption(worstFps + Ogre::StringConverter::toString(stats.worstFPS) + " " +
                     Ogre::StringConverter::toString(stats.worstFrameTime) + " ms");
    overlays.getOverlayElement("Core/NumTris")->setCaption(tris + Ogre::StringConverter::toString(stats.triangleCount));
}

Ogre::RenderTarget::FrameStats DebugOverlay::frameStatistics(Ogre::RenderTarget& window)
{
    Ogre::RenderTarget::FrameStats stats = window.getStatistics();
    Ogre::CompositorManager* compositors = Ogre::CompositorManager::getSingletonPtr();
    if (!compositors)
        return stats;
    std::set<const Ogre::RenderTarget*> drawn;
    for (unsigned short i = 0; i < window.getNumViewports(); ++i)
    {
        Ogre::Viewport* viewport = window.getViewport(i);
        if (!compositors->hasCompositorChain(viewport))
            continue;
        for (Ogre::CompositorInstance* instance : compositors->getCompositorChain(viewport)->getCompositorInstances())
        {
            if (!instance->getEnabled() || !instance->getTechnique())
                continue;
            // A target drawn only once, when the effect starts, keeps the numbers of that frame.
            for (Ogre::CompositionTargetPass* pass : instance->getTechnique()->getTargetPasses())
                if (!pass->getOnlyInitial())
                    drawn.insert(instance->getRenderTarget(pass->getOutputName()));
        }
    }
    drawn.erase(nullptr);
    for (const Ogre::RenderTarget* target : drawn)
    {
        stats.triangleCount += target->getStatistics().triangleCount;
        stats.batchCount += target->getStatistics().batchCount;
    }
    return stats;
}
