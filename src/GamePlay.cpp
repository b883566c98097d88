// One race's rules wired to the race scene: tracker, car, beeps, music, recorder, ghost and
// the on-screen display.
#include "GamePlay.h"

#include "CarPlayer.h"
#include "CarRecorder.h"
#include "CheckPointArrow.h"
#include "LogStream.h"
#include "RegularFile.h"
#include "XMLParser.h"
#include "ai/StrategicAI.h"
#include "physic/Car.h"
#include "physic/CarDesc.h"
#include "sound/NodeSound.h"
#include "sound/SBMusicPlayer.h"
#include "sound/SoundManager.h"
#include "track/CheckPointTracker.h"

#include <OGRE/Ogre.h>
#include <OGRE/Overlay/OgreOverlay.h>
#include <OGRE/Overlay/OgreOverlayContainer.h>
#include <OGRE/Overlay/OgreTextAreaOverlayElement.h>
#include <OGRE/Overlay/OgreFont.h>
#include <OGRE/Overlay/OgreOverlayElement.h>
#include <OGRE/Overlay/OgreOverlayManager.h>

#include <cstdio>

namespace
{
constexpr Ogre::uint8 kArrowQueue = 100;

std::ostream& log()
{
    return LogStream::getInstance()->getStream();
}
}  // namespace

GamePlay::GamePlay(Ogre::SceneManager* sceneManager, CheckPointTracker* tracker, CameraRig* cameraRig,
                   const std::string& highScorePath)
    : sceneManager(sceneManager), tracker(tracker), cameraRig(cameraRig), rules(this, highScorePath)
{
    createOnScreenGUI();

    SoundManager* sound = SoundManager::getInstance();
    beep1 = sound->create2DNodeSound(nullptr, kBeep1File, false, "SoundEffects");
    beep1->stop();
    beep2 = sound->create2DNodeSound(nullptr, kBeep2File, false, "SoundEffects");
    beep2->stop();
    if (sound->getSoundBase()) {
        music = std::make_unique<SBMusicPlayer>(sound->getSoundBase());
        music->setShuffle(true);
        if (!music->loadPlaylist(kMusicFolder, "Music"))
            log() << "No race music in " << kMusicFolder << std::endl;
        music->stop();
    }

    ghost = std::make_unique<CarPlayer>(kGhostName, sceneManager);
    try {
        ghostCar = XMLParser().loadCar(kGhostCarFile);
    } catch (const std::exception& error) {
        log() << "No ghost car, races run without a ghost: " << error.what() << std::endl;
    }
    rules.reset();
}

GamePlay::~GamePlay()
{
    SoundManager::getInstance()->destroyNodeSound(beep1);
    SoundManager::getInstance()->destroyNodeSound(beep2);
    if (arrowNode) {
        if (display)
            display->remove3D(arrowNode);
        arrowNode->detachAllObjects();
        if (sceneManager->hasEntity("Arrow"))
            sceneManager->destroyEntity("Arrow");
        sceneManager->destroySceneNode(arrowNode);
    }
    if (display)
        display->hide();
}

void GamePlay::setCar(Car* newCar)
{
    car = newCar;
    recorder = std::make_unique<CarRecorder>(car, CarRecorder::kRaceInterval);
    holdCar(true);
}

void GamePlay::createOnScreenGUI()
{
    Ogre::OverlayManager* overlays = Ogre::OverlayManager::getSingletonPtr();
    display = overlays ? overlays->getByName(kOverlayName) : nullptr;
    if (!display) {
        log() << "The overlay " << kOverlayName << " is missing: the race runs without its display" << std::endl;
        return;
    }
    // The engine loads a text area's font when it first draws it, but lays out the captions
    // before that: a caption the script gives (a label), laid out once, stays an empty row of
    // glyphs. Load the font first and lay the captions out again.
    for (Ogre::OverlayContainer* container : display->get2DElements())
        for (const auto& child : container->getChildren())
            if (auto* text = dynamic_cast<Ogre::TextAreaOverlayElement*>(child.second); text && text->getFont()) {
                text->getFont()->load();
                text->setCaption(text->getCaption());
            }
    createArrowMaterial();
    Ogre::Entity* arrow = nullptr;
    try {
        arrow = sceneManager->createEntity("Arrow", kArrowMesh);
    } catch (const Ogre::Exception& error) {
        log() << "No arrow to the checkpoints: " << error.getFullDescription() << std::endl;
        return;
    }
    arrow->setMaterialName(kArrowMaterial);
    arrow->setRenderQueueGroup(kArrowQueue);
    // The arrow hangs on the very node the overlay is given: the overlay culls its nodes by
    // their bounds, and an octree scene node's bounds hold only its own objects, so an empty
    // parent would hide the arrow.
    arrowNode = sceneManager->createSceneNode();
    arrowNode->attachObject(arrow);
    arrowNode->translate(CheckPointArrow::kOffset);
    arrowNode->setInitialState();
    display->add3D(arrowNode);
}

void GamePlay::createArrowMaterial()
{
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    Ogre::MaterialPtr material = materials.getByName(kArrowMaterial, Ogre::RGN_DEFAULT);
    if (!material)
        material = materials.create(kArrowMaterial, Ogre::RGN_DEFAULT);
    arrowPass = material->getTechnique(0)->getPass(0);
    arrowPass->setLightingEnabled(true);
    arrowPass->setDepthCheckEnabled(false);
    arrowPass->setDepthWriteEnabled(false);
    arrowPass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
    arrowPass->setAmbient(CheckPointArrow::kAhead * 0.5f);
    arrowPass->setDiffuse(CheckPointArrow::kAhead);
}

void GamePlay::onPhysicFrame(float /*alpha*/, float /*alphaTime*/, float frameDt)
{
    const bool wasAtEnd = ghost->isAtEnd();
    ghost->update(frameDt);
    // Whether the ghost keeps step with the race clock: it should reach its last frame when
    // the clock shows the recording's span.
    if (ghost->isPlaying() && !wasAtEnd && ghost->isAtEnd()) {
        char seconds[64];
        std::snprintf(seconds, sizeof seconds, "%.3f s, %.3f s played of its %.3f s run",
                      rules.getTimer().getTime() / 1000.0, ghost->getPlayedSeconds(), ghost->getRunSeconds());
        debugLog() << "Ghost at its last frame at race time " << seconds << std::endl;
    }
}

void GamePlay::update(float dtSeconds)
{
    rules.update(dtSeconds);
}

void GamePlay::updateGUI()
{
    rules.updatePhase();
    if (car) {
        setCaption("Gear", RaceRules::gearText(car->getGear()));
        setCaption("Speed", std::to_string(static_cast<int>(car->getWheelSpeed())));
        setCaption("RPM", std::to_string(static_cast<int>(car->getRpm())));
    }
    setCaption("RaceTime", rules.getTimer().toString());
    setCaption("BestRaceTime", rules.getBestTimeText());
    setCaption("CheckPointDiff", rules.getDifferenceText());
    setCaption("Countdown", rules.getCountdownText());
    setArrowColour();
}

void GamePlay::setArrowColour()
{
    if (!car || !car->getNode() || !arrowNode)
        return;
    const Ogre::Vector3 position = car->getNode()->_getDerivedPosition();
    const float angle = CheckPointArrow::angleToCheckPoint(car->getHeading(false), {position.x, position.z},
                                                           tracker->getCheckPointPosition(0));
    arrowNode->resetToInitialState();
    arrowNode->yaw(Ogre::Radian(-angle), Ogre::Node::TS_LOCAL);
    const Ogre::ColourValue colour = CheckPointArrow::colourFor(angle);
    arrowPass->setDiffuse(colour);
    arrowPass->setAmbient(colour * 0.5f);
}

void GamePlay::setCaption(const char* element, const std::string& caption)
{
    if (!display)
        return;
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    if (overlays.hasOverlayElement(element))
        overlays.getOverlayElement(element)->setCaption(caption);
}

std::string GamePlay::getCaption(const std::string& element) const
{
    Ogre::OverlayManager* overlays = Ogre::OverlayManager::getSingletonPtr();
    if (!display || !overlays || !overlays->hasOverlayElement(element))
        return "";
    return overlays->getOverlayElement(element)->getCaption();
}

void GamePlay::setGUIVisible(bool visible)
{
    if (display) {
        if (visible)
            display->show();
        else
            display->hide();
    }
    if (strategicAI)
        strategicAI->setDebugGUI(visible);
}

bool GamePlay::updateCourse()
{
    return tracker->update();
}

bool GamePlay::takePassedCheckPoint()
{
    return tracker->takePassed();
}

void GamePlay::restartCourse()
{
    tracker->restart();
}

void GamePlay::resetCarToCheckPoint()
{
    tracker->resetCar();
}

void GamePlay::holdCar(bool held)
{
    if (car)
        car->setStopped(held);
}

void GamePlay::stopCarSounds()
{
    if (car)
        car->stopSounds();
}

void GamePlay::enableCarSounds()
{
    if (car)
        car->enableSounds();
}

void GamePlay::playCountdownBeep()
{
    if (beep1)
        beep1->restart();
}

void GamePlay::playStartBeep()
{
    if (beep2)
        beep2->restart();
}

void GamePlay::playMusic()
{
    if (music)
        music->play();
}

void GamePlay::pauseMusic()
{
    if (music)
        music->pause();
}

void GamePlay::updateMusic()
{
    if (music)
        music->update();
}

void GamePlay::startRecording()
{
    if (recorder)
        recorder->start();
}

void GamePlay::recordStep()
{
    if (recorder)
        recorder->record();
}

void GamePlay::stopRecording()
{
    if (recorder)
        recorder->stop();
}

const CarStateWriter* GamePlay::getRecording() const
{
    return recorder ? recorder->getRecording() : nullptr;
}

void GamePlay::loadGhost(const std::string& path)
{
    ghost->clear();
    std::string error;
    if (!ghostCar)
        return;
    if (!isAbsentOrRegularFile(path, &error))
    {
        log() << "Race without a ghost: " << path << ": " << error << std::endl;
        return;
    }
    if (!isRegularFile(path))
        return;  // no best run yet
    if (!ghost->load(path, *ghostCar, &error))
        log() << "Race without a ghost: " << error << std::endl;
}

void GamePlay::playGhost()
{
    if (!ghost->hasGhost())
        return;
    ghost->play();
    ghost->update(0.0f);
}

void GamePlay::stopGhost()
{
    ghost->stop();
}

void GamePlay::resetDrivers()
{
    if (strategicAI)
        strategicAI->reset();
}
