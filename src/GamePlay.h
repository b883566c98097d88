// One race's rules in the race scene: drives RaceRules with the real tracker, car, beeps,
// music, recorder and ghost, and shows the on-screen display "OnScreenGUI" with the 3D
// arrow to the next checkpoint. The physics tells it every step and every frame.
#pragma once

#include "RaceRules.h"
#include "RaceServices.h"
#include "physic/PhysicListener.h"

#include <memory>
#include <string>

namespace Ogre
{
class Overlay;
class OverlayElement;
class Pass;
class SceneManager;
class SceneNode;
}

class CameraRig;
class Car;
class CarDesc;
class CarPlayer;
class CarRecorder;
class CarStateWriter;
class CheckPointTracker;
class NodeSound;
class SBMusicPlayer;
class StrategicAI;

class GamePlay : public PhysicListener, private RaceServices
{
public:
    static constexpr const char* kOverlayName = "OnScreenGUI";
    static constexpr const char* kArrowMesh = "Arrow.mesh";
    static constexpr const char* kArrowMaterial = "Arrow_material";
    static constexpr const char* kBeep1File = "../media/sounds/countdown_beep1.ogg";
    static constexpr const char* kBeep2File = "../media/sounds/countdown_beep2.ogg";
    static constexpr const char* kMusicFolder = "../media/music/";
    static constexpr const char* kGhostCarFile = "../media/cars/Roadster.xml";
    static constexpr const char* kGhostName = "BestCarPlayer";

    // All borrowed and must outlive the race. The table is read at once; the display is
    // looked up (without the overlay script the race runs without a display).
    GamePlay(Ogre::SceneManager* sceneManager, CheckPointTracker* tracker, CameraRig* cameraRig,
             const std::string& highScorePath);
    ~GamePlay() override;
    GamePlay(const GamePlay&) = delete;
    GamePlay& operator=(const GamePlay&) = delete;

    // The player's car (borrowed; the recorder samples it). Before the first startRace.
    void setCar(Car* car);
    // The computer drivers, reset on a restart and shown with the display; may be null.
    void setStrategicAI(StrategicAI* ai) { strategicAI = ai; }

    // PhysicListener: the rules' step, the ghost's frame, music on pause.
    void onPhysicStep(float dt) override { update(dt); }
    void onPhysicFrame(float alpha, float alphaTime, float frameDt) override;
    void onPause() override { pause(); }
    void onResume() override { resume(); }

    void update(float dtSeconds);
    void pause() { rules.pause(); }
    void resume() { rules.resume(); }
    // Once per frame: the phases, the captions and the arrow.
    void updateGUI();

    void startRace() { rules.startRace(); }
    // False, and nothing changes, before the start countdown is over.
    bool restart() { return rules.restart(); }
    void reset() { rules.reset(); }
    // Back to the last checkpoint; only while racing.
    bool resetCar() { return rules.resetCar(); }
    bool isRaceOver() const { return rules.isRaceOver(); }
    int getPhase() const { return rules.getPhase(); }
    // The rank this race entered the table at (0: not in it); valid once the race is over.
    int getRaceRank() const { return rules.getRaceRank(); }
    // Why the table or the ghost could not be written; empty when they were.
    const std::string& getSaveError() const { return rules.getSaveError(); }
    std::string getHighScorePath() const { return rules.getHighScorePath(); }
    void setGUIVisible(bool visible);
    const RaceRules& getRules() const { return rules; }
    // The caption an element of the display shows; "" when there is no such element.
    std::string getCaption(const std::string& element) const;
    Ogre::SceneNode* getArrowNode() const { return arrowNode; }

private:
    void createOnScreenGUI();
    void createArrowMaterial();
    void setCaption(const char* element, const std::string& caption);
    void setArrowColour();

    // RaceServices
    bool updateCourse() override;
    bool takePassedCheckPoint() override;
    void restartCourse() override;
    void resetCarToCheckPoint() override;
    void holdCar(bool held) override;
    void stopCarSounds() override;
    void enableCarSounds() override;
    void playCountdownBeep() override;
    void playStartBeep() override;
    void playMusic() override;
    void pauseMusic() override;
    void updateMusic() override;
    void startRecording() override;
    void recordStep() override;
    void stopRecording() override;
    const CarStateWriter* getRecording() const override;
    void loadGhost(const std::string& path) override;
    void playGhost() override;
    void stopGhost() override;
    void resetDrivers() override;

    Ogre::SceneManager* sceneManager;
    CheckPointTracker* tracker;
    CameraRig* cameraRig;
    Car* car = nullptr;
    StrategicAI* strategicAI = nullptr;
    Ogre::Overlay* display = nullptr;
    Ogre::SceneNode* arrowNode = nullptr;
    Ogre::Pass* arrowPass = nullptr;
    NodeSound* beep1 = nullptr;  // owned by the sound facade, released in the destructor
    NodeSound* beep2 = nullptr;
    std::unique_ptr<SBMusicPlayer> music;
    std::unique_ptr<CarRecorder> recorder;
    std::unique_ptr<CarPlayer> ghost;
    std::unique_ptr<CarDesc> ghostCar;  // the ghost's meshes; null when the car file failed
    RaceRules rules;  // last: its construction resets through the services above
};
