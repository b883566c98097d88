// The race camera rig.
#include "physic/CameraRig.h"

#include "LogStream.h"
#include "graphics/WorldTransform.h"
#include "sound/SoundManager.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreRenderSystem.h>
#include <OGRE/OgreRenderSystemCapabilities.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

namespace
{
bool hasInfiniteFarPlane()
{
    Ogre::Root* root = Ogre::Root::getSingletonPtr();
    Ogre::RenderSystem* renderSystem = root ? root->getRenderSystem() : nullptr;
    const Ogre::RenderSystemCapabilities* caps = renderSystem ? renderSystem->getCapabilities() : nullptr;
    return caps && caps->hasCapability(Ogre::RSC_INFINITE_FAR_PLANE);
}
}

CameraRig::CameraRig(const std::string& name, Ogre::SceneManager* sceneManager, float windowSeconds,
                     float delaySeconds)
    : sceneManager(sceneManager), name(name), window(windowSeconds), delay(delaySeconds)
{
    camera = sceneManager->createCamera(name);
    camera->setNearClipDistance(kNearClip);
    camera->setFOVy(Ogre::Degree(kFovDegrees));
    camera->setFarClipDistance(hasInfiniteFarPlane() ? kFarClipInfinite : kFarClip);
    SoundManager::getInstance()->setCamera(camera);
}

CameraRig::~CameraRig()
{
    camSwitch(nullptr, nullptr);
    SoundManager::getInstance()->setCamera(nullptr);
    sceneManager->destroyCamera(camera);
}

void CameraRig::attachCamera(Ogre::SceneNode* node)
{
    if (camera->isAttached())
        camera->detachFromParent();
    node->attachObject(camera);
}

void CameraRig::camSwitch(Ogre::SceneNode* newPositionNode, Ogre::SceneNode* newLookAtNode)
{
    debugLog() << "camSwitch\n";
    // The camera hangs at whichever node the last smooth change left it on.
    if (camera->isAttached())
        camera->detachFromParent();
    if (positionNode)
        positionNode->setAutoTracking(false);
    if (smoothNode)
    {
        smoothNode->setAutoTracking(false);
        sceneManager->destroySceneNode(smoothNode);
        sceneManager->destroySceneNode(rigNode);
        smoothNode = rigNode = nullptr;
    }
    positionNode = newPositionNode;
    lookAtNode = newLookAtNode;
    if (!positionNode || !lookAtNode)
    {
        positionNode = lookAtNode = nullptr;
        return;
    }

    rigNode = lookAtNode->createChildSceneNode(name);
    smoothNode = rigNode->createChildSceneNode(name + "smooth");
    smoothNode->setFixedYawAxis(true, Ogre::Vector3::UNIT_Y);
    smoothNode->setAutoTracking(true, lookAtNode, Ogre::Vector3::NEGATIVE_UNIT_Z, Ogre::Vector3::ZERO);
    distance = (positionNode->getPosition() - lookAtNode->getPosition()).length();
    followDistance = distance;
    attachCamera(smooth ? smoothNode : positionNode);
    onSmoothNode = smooth;
}

void CameraRig::setSmooth(bool value)
{
    if (value == smooth || !positionNode)
        return;
    smooth = value;
    applySmooth(value);
}

void CameraRig::applySmooth(bool s)
{
    if (!positionNode)
        return;
    if (s && !onSmoothNode)
    {
        attachCamera(smoothNode);
        onSmoothNode = true;
    }
    else if (!s && onSmoothNode)
    {
        attachCamera(positionNode);
        onSmoothNode = false;
    }
}

void CameraRig::update(float dt, float /*acceleration*/, const Ogre::Vector2& heading)
{
    // 1-3: age the headings, add the newest, drop those older than the window
    for (float& age : ages)
        age += dt;
    headings.push_back(heading);
    ages.push_back(0.0f);
    while (!ages.empty() && ages.front() > window)
    {
        headings.pop_front();
        ages.pop_front();
    }
    // 4: average the headings older than window - delay, and the first younger one
    Ogre::Vector2 average = heading;
    if (!headings.empty())
    {
        size_t count = 1;
        while (count < ages.size() && ages[count - 1] > window - delay)
            ++count;
        Ogre::Vector2 sum = Ogre::Vector2::ZERO;
        for (size_t k = 0; k < count; ++k)
            sum += headings[k];
        average = sum.normalisedCopy();
    }
    // 5-6: the follow distance, and the camera's next place behind the car along the averaged heading
    followDistance = distance * lag;
    history.push_back(-followDistance * Ogre::Vector3(average.x, 0.0f, average.y).normalisedCopy());
}

void CameraRig::follow(float groundHeight)
{
    // Without the nodes of a switch there is nothing to move.
    if (history.empty() || !positionNode)
        return;
    const bool s = smooth;
    if (s)
        applySmooth(false);  // the camera waits at the position node while the nodes move

    lookAtNode->setPosition(Ogre::Vector3::ZERO);
    lookAtNode->translate(Ogre::Vector3(0.0f, kLookAtHeight, 0.0f), Ogre::Node::TS_PARENT);

    rigNode->setPosition(Ogre::Vector3::ZERO);
    const size_t n = history.size();
    const Ogre::Vector3 v = n >= 2 ? history[n - 2] + (history[n - 1] - history[n - 2]) * alpha : history[0];
    while (history.size() > 2)
        history.pop_front();
    rigNode->setOrientation(Ogre::Quaternion::IDENTITY);
    rigNode->translate(v, Ogre::Node::TS_WORLD);

    if (s)
        applySmooth(true);

    // Terrain clearance: at least kGroundClearance + kChaseRise above the ground.
    smoothNode->setPosition(Ogre::Vector3::ZERO);
    float lift = kChaseRise;
    const float ground = groundHeight + kGroundClearance;
    const float y = WorldTransform::position(smoothNode).y;
    if (ground > 0.0f && ground > y)
        lift += ground - y;
    smoothNode->translate(Ogre::Vector3(0.0f, lift, 0.0f), Ogre::Node::TS_WORLD);
}

void CameraRig::setFOV(float degrees)
{
    camera->setFOVy(Ogre::Degree(degrees));
}

Ogre::Vector3 CameraRig::getPosition() const
{
    Ogre::SceneNode* node = smooth ? smoothNode : positionNode;
    return node ? WorldTransform::position(node) : Ogre::Vector3::ZERO;
}
