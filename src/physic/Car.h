// The driven car of a race: the physics vehicle with its cameras, brake lights, shade
// under cover, tyre smoke and tracks, engine, skid, terrain and crash sounds. Its virtual
// setters are the only way in for the player and the AI drivers.
#pragma once

#include "physic/PhysicListener.h"
#include "physic/TrackedCar.h"

#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <memory>
#include <string>
#include <vector>

namespace Ogre
{
class ParticleSystem;
class SceneManager;
class SceneNode;
}
namespace nxOgre
{
class scene;
}
class CameraRig;
class CarCam;
class CarContactSounds;
class CarDesc;
class EntityMaterialInstancePlus;
class LightSorter;
class LinearCurve;
class LineManager;
class NodeSound;
class SoundControl;
class TerrainHeights;
class VehicleSR;
class Wheel;

class Car : public PhysicListener, public TrackedCar
{
public:
    // Camera positions, in the order nextCamera walks them.
    enum CameraIndex
    {
        kFollowCamera = 1,
        kBumperCamera = 2,
        kHoodCamera = 3,
        kCockpitCamera = 4,
    };
    static constexpr float kIdleBrakeKmh = 35.0f;      // below it, no input holds the car
    static constexpr float kIdleBrake = 1.0f;          // holds the car still
    // Rolling, the idle brake is one the tyres carry even on the terrain: a lift-off slows
    // the car without locking its wheels. Below the hold speed the full brake holds it.
    static constexpr float kIdleRollingBrake = 0.02f;
    static constexpr float kIdleHoldKmh = 2.0f;
    static constexpr float kStoppedBrake = 5.0f;
    static constexpr float kSmokeMinKmh = 10.0f;       // skidding slower makes no smoke or track
    static constexpr float kSkidBrakeTorque = 5000.0f; // N·m: a wheel braked harder skids
    static constexpr float kTerrainSoundMinKmh = 40.0f;
    static constexpr float kCrashTouchMinKmh = 2.0f;
    static constexpr float kTrackLift = 0.02f;         // units above the ground
    static constexpr float kTrackHalfWidth = 0.1f;     // units
    static constexpr float kParticleStep = 0.01f;      // seconds the smoke advances per step
    static constexpr float kShadeRayLength = 100.0f;   // units
    static constexpr float kShadeFadeRate = 5.0f;      // per second at rest
    static constexpr float kPoseLift = 0.8f;           // units above the highest ground corner
    static constexpr float kPoseGroundSquare = 4.0f;   // units
    static constexpr const char* kSmokeTemplate = "KV/Smoke";
    static constexpr const char* kSoundGroup = "SoundEffects";
    static constexpr const char* kActorGroup = "car";

    // Builds the whole car from desc (which stays the caller's and is not changed) at its
    // start pose. terrain may be null: the ground is then taken as height 0.
    Car(const std::string& name, const CarDesc* desc, const Ogre::Vector3& startPosition,
        const Ogre::Quaternion& startOrientation, nxOgre::scene* physicsScene, Ogre::SceneManager* sceneManager,
        TerrainHeights* terrain);
    ~Car() override;
    Car(const Car&) = delete;
    Car& operator=(const Car&) = delete;

    void onPhysicStep(float dt) override;
    void onPhysicFrame(float alpha, float alphaTime, float frameDt) override;

    // Driver inputs, used at the next step.
    virtual void setThrottle(float value);
    virtual void setBrake(float value);
    virtual void setHandbrake(bool on);
    virtual void setSteerLeft(float value);   // 0..1, analogue
    virtual void setSteerRight(float value);  // -1..0, analogue
    virtual void setDigitalLeft(bool on);     // keys
    virtual void setDigitalRight(bool on);
    virtual float getThrottle() const { return throttle; }
    virtual float getBrake() const { return brake; }
    virtual float getSteerLeft() const { return steerLeft; }
    virtual float getSteerRight() const { return steerRight; }

    // The rig is borrowed (clear it before it goes); it is switched to the follow camera
    // (the first camera without one).
    virtual void setCameraRig(CameraRig* rig);
    virtual void clearCameraRig() { cameraRig = nullptr; }

    virtual float getWheelSpeed() const;  // km/h, absolute
    virtual float getSpeedKmh() const;    // absolute
    virtual float getAcceleration() const { return acceleration; }  // units/s²
    virtual float getRpm() const;
    virtual int getGear() const;
    Ogre::SceneNode* getNode() override { return node; }
    virtual void resetToNode();
    virtual void resetPose();
    void setPose(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) override;
    // Sets the car going along its heading as if driven up to that speed, the wheels rolling
    // with it: a run-up where there is no room for one (tools and tests).
    void setRollingSpeed(float speedKmh);
    virtual void nextCamera();
    virtual void setStopped(bool stopped);
    virtual bool isStopped() const { return stopped; }
    virtual void stopSounds();
    virtual void enableSounds();
    // Degrees from the heading to +x, positive counter-clockwise.
    virtual float getHeadingAngle() const;
    virtual Ogre::Vector2 getHeading(bool interpolated) const;
    virtual bool isUpsideDown() const;
    // The signed share of the speed-dependent steering limit in use.
    virtual float getSteerRatio() const;
    std::vector<Wheel*> getWheels() const;

    // Speed limits (km/h) over the steering command, for the AI drivers.
    const LinearCurve& getAISpeedCurve() const { return *aiSpeedCurve; }
    VehicleSR* getVehicle() const { return vehicle.get(); }
    const std::string& getName() const { return name; }
    int getCameraIndex() const { return cameraIndex; }
    bool areBrakeLightsOn() const { return brakeLightsOn; }
    // The clone the brake-light sub-meshes show; null when the car has none.
    const Ogre::MaterialPtr& getBrakeLightMaterial() const { return brakeLightMaterial; }
    float getShade() const { return shade; }
    bool isSmoking(size_t wheel) const;
    const std::vector<Ogre::ParticleSystem*>& getSmokeSystems() const { return smokeSystems; }
    NodeSound* getSkidSound() const { return skidSound; }
    NodeSound* getTerrainSound() const { return terrainSound; }
    NodeSound* getCrashTouchSound() const { return crashTouchSound; }
    const std::vector<NodeSound*>& getEngineSounds() const { return engineSounds; }
    const std::vector<NodeSound*>& getCarCrashSounds() const { return carCrashSounds; }
    const CarContactSounds* getContactSounds() const { return contactSounds.get(); }

protected:
    // Builds everything from the description; the constructor calls it once.
    virtual void create(const CarDesc* desc);

private:
    void createSounds(const CarDesc* desc);
    NodeSound* makeNodeSound(const std::string& path, bool loop);
    void createEffects();
    void updateParticles();
    void updateShade(float frameDt);
    void updateFrameSounds();
    CarCam* cameraAt(int index) const;
    void switchRig(const CarCam* camera);
    void destroySounds();
    void destroyEffects();
    void destroyVehicle();

    Ogre::SceneNode* node = nullptr;  // the chassis body's node; the vehicle's
    std::unique_ptr<LinearCurve> aiSpeedCurve;
    Ogre::Vector3 startPosition;
    Ogre::Quaternion startOrientation;
    std::unique_ptr<VehicleSR> vehicle;
    CameraRig* cameraRig = nullptr;  // borrowed
    float throttle = 0.0f;
    float brake = 0.0f;
    bool handbrake = false;
    float steerLeft = 0.0f;
    float steerRight = 0.0f;
    bool digitalLeft = false;
    bool digitalRight = false;
    bool digitalSteering = true;
    int cameraIndex = kFollowCamera;
    bool stopped = false;
    bool soundsEnabled = true;
    std::string name;
    float speed = 0.0f;         // units/s, absolute forward speed at the last step
    float acceleration = 0.0f;  // units/s², of that speed
    std::vector<Ogre::SceneNode*> probeNodes;
    std::vector<Ogre::ParticleSystem*> smokeSystems;  // null entries without the template
    std::vector<Ogre::SceneNode*> smokeNodes;
    std::vector<std::unique_ptr<LineManager>> tyreTrails;
    unsigned short roadMaterial = 0;
    unsigned short terrainMaterial = 0;
    bool hasTerrainMaterial = false;
    NodeSound* skidSound = nullptr;  // NodeSounds belong to the sound facade until destroyed
    NodeSound* terrainSound = nullptr;
    std::vector<NodeSound*> engineSounds;
    std::vector<NodeSound*> carCrashSounds;
    std::vector<NodeSound*> wheelCrashSounds;
    NodeSound* crashTouchSound = nullptr;
    std::unique_ptr<CarCam> followCamera, bumperCamera, hoodCamera, cockpitCamera;
    Ogre::SceneManager* sceneManager;
    nxOgre::scene* physicsScene;
    TerrainHeights* terrain;  // borrowed, may be null
    Ogre::MaterialPtr brakeLightMaterial;
    std::unique_ptr<SoundControl> engineSoundControl;
    std::unique_ptr<CarContactSounds> contactSounds;
    bool poseAgain = false;
    bool brakeLightsOn = false;
    std::unique_ptr<EntityMaterialInstancePlus> shadeMaterial;
    float shade = 1.0f;  // 1 in the open, 0 under cover
    std::unique_ptr<LightSorter> lightSorter;
};
