// Tyre-track strips: bookkeeping of the current strip and the scene nodes of all strips.
#include "graphics/LineManager.h"

#include "graphics/DynamicQuads.h"

#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

std::uint32_t LineManager::stripCounter = 0;

LineManager::LineManager(Ogre::SceneManager* sceneManager, const std::string& name, std::uint32_t maximumStrips,
                         std::uint32_t maximumPairs)
    : name(name), sceneManager(sceneManager), maximumStrips(maximumStrips), maximumPairs(maximumPairs)
{
}

LineManager::~LineManager()
{
    leftPoints.clear();
    rightPoints.clear();
    while (!strips.empty())
        destroyOldestStrip();
}

void LineManager::addLine(const Ogre::Vector3& a, const Ogre::Vector3& b)
{
    if (leftPoints.size() > maximumPairs)
    {
        updateLastStrip(a, b);
        clear();
    }
    if (newStrip)
    {
        newStrip = false;
        createStrip();
    }
    updateLastStrip(a, b);
}

void LineManager::clear()
{
    if (newStrip)
        return;
    newStrip = true;
    leftPoints.clear();
    rightPoints.clear();
}

void LineManager::updateLastStrip(const Ogre::Vector3& a, const Ogre::Vector3& b)
{
    if (strips.empty())
        return;
    leftPoints.push_back(a);
    rightPoints.push_back(b);
    DynamicQuads& strip = *strips.back();
    strip.clear();
    for (std::size_t i = 0; i < leftPoints.size(); ++i)
    {
        strip.addPoint(leftPoints[i]);
        strip.addPoint(rightPoints[i]);
    }
    strip.update();
    // The strip's bounds changed: the node must pick them up.
    stripNodes.back()->needUpdate(false);
}

void LineManager::createStrip()
{
    ++stripCounter;
    if (!strips.empty() && strips.size() >= maximumStrips)
        destroyOldestStrip();

    auto strip = std::make_unique<DynamicQuads>(Ogre::RenderOperation::OT_TRIANGLE_STRIP);
    strip->setMaterialName(kMaterialName);
    strip->setCastShadows(false);
    Ogre::SceneNode* node = sceneManager->getRootSceneNode()->createChildSceneNode(
        kNodePrefix + std::to_string(stripCounter), Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
    node->attachObject(strip.get());
    strips.push_back(std::move(strip));
    stripNodes.push_back(node);
}

void LineManager::destroyOldestStrip()
{
    // The node is destroyed, not merely detached, so a long race leaves no empty nodes behind.
    Ogre::SceneNode* node = stripNodes.front();
    node->detachAllObjects();
    sceneManager->destroySceneNode(node);
    stripNodes.pop_front();
    strips.pop_front();
}
