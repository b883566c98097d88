// Crash sounds of one car: told of the physics contacts of its chassis, it picks the crash
// sounds by the strongest contact force and plays them once when a chassis contact begins.
#pragma once

#include "platform/physics/customContactReporter.h"
#include "sound/SoundFile.h"

#include <memory>
#include <vector>

class SoundBase;
class SoundControl;

class CarContactSounds : public nxOgre::customContactReporter
{
public:
    // The car's chassis body is borrowed; one-shots go through the sound system (the sound
    // facade's when none is given).
    explicit CarContactSounds(nxOgre::body* carBody, SoundBase* soundSystem = nullptr);
    ~CarContactSounds() override;
    CarContactSounds(const CarContactSounds&) = delete;
    CarContactSounds& operator=(const CarContactSounds&) = delete;

    // A sound heard for contact forces within [minForce, maxForce] (newtons).
    void addCarCrashSound(const SoundFilePtr& sound, float minForce, float maxForce);
    void addWheelCrashSound(const SoundFilePtr& sound, float minForce, float maxForce);

    bool onContact(nxOgre::body* a, nxOgre::body* b) override { return onContactNotify(a, b); }
    virtual bool involves(nxOgre::body* a, nxOgre::body* b) const { return a == carBody || b == carBody; }
    // False for pairs without the car's body; otherwise records the pair's contact.
    virtual bool onContactNotify(nxOgre::body* a, nxOgre::body* b);

    // Once per fixed step: selects the audible crash sounds and starts them on a new contact.
    void update();
    // Whether the chassis touches something (ongoing contact).
    bool hasCarContact() const { return carLatch; }

private:
    void analyseContacts();

    bool wheelContact = false;
    bool carContact = false;
    bool wheelLatch = false;
    bool carLatch = false;
    float strongestForce = 0.0f;  // newtons, this step
    int ownIndex = 0;             // the car's place in the current pair
    nxOgre::body* carBody;
    SoundBase* soundSystem;
    std::unique_ptr<SoundControl> soundControl;
    std::vector<SoundFilePtr> carCrashSounds;
    std::vector<SoundFilePtr> wheelCrashSounds;
};
