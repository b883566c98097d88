// The statistics overlay.
#include "DebugOverlay.h"

#include <OGRE/OgreStringConverter.h>
#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayElement.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

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
