// Crash sounds chosen by contact force.
#include "physic/CarContactSounds.h"

#include "physic/PhysicsConversions.h"
#include "sound/SoundBase.h"
#include "sound/SoundControl.h"
#include "sound/SoundManager.h"

#include <algorithm>

CarContactSounds::CarContactSounds(nxOgre::body* carBody, SoundBase* soundSystem)
    : carBody(carBody),
      soundSystem(soundSystem ? soundSystem : SoundManager::getInstance()->getSoundBase()),
      soundControl(std::make_unique<SoundControl>())
{
}

CarContactSounds::~CarContactSounds()
{
    carCrashSounds.clear();
    wheelCrashSounds.clear();
}

void CarContactSounds::addCarCrashSound(const SoundFilePtr& sound, float minForce, float maxForce)
{
    if (soundControl->addSound(sound, minForce, maxForce) != -1)
        carCrashSounds.push_back(sound);
}

void CarContactSounds::addWheelCrashSound(const SoundFilePtr& sound, float minForce, float maxForce)
{
    if (soundControl->addSound(sound, minForce, maxForce) != -1)
        wheelCrashSounds.push_back(sound);
}

bool CarContactSounds::onContactNotify(nxOgre::body* a, nxOgre::body* b)
{
    if (!involves(a, b))
        return false;
    ownIndex = (b == carBody) ? 1 : 0;
    analyseContacts();
    return true;
}

void CarContactSounds::analyseContacts()
{
    if (!currentPair)
        return;
    for (const nxOgre::NxContactPoint& point : currentPair->points)
    {
        if (point.isWheel[ownIndex])
            wheelContact = true;
        else
            carContact = true;
    }
    // Only the start of a contact counts: a latched one is already heard.
    const float force = toOgre(currentPair->sumNormalForce).length();
    if (!wheelLatch && wheelContact)
        strongestForce = std::max(strongestForce, force);
    else if (!carLatch && carContact)
        strongestForce = std::max(strongestForce, force);
}

void CarContactSounds::update()
{
    soundControl->update(strongestForce);

    if (!carContact)
    {
        carLatch = false;
    }
    else if (!carLatch)
    {
        carLatch = true;
        // The copies take each sound's current settings: only the ones just unmuted are heard.
        for (const SoundFilePtr& sound : carCrashSounds)
            soundSystem->playOnce(sound);
    }

    if (!wheelContact)
        wheelLatch = false;
    else
        wheelLatch = true;

    wheelContact = false;
    carContact = false;
    strongestForce = 0.0f;
}
