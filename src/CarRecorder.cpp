// Recording the player's run.
#include "CarRecorder.h"

#include "physic/Car.h"
#include "physic/Wheel.h"

#include <OGRE/OgreSceneNode.h>

CarRecorder::CarRecorder(Car* recordedCar, int interval) : car(recordedCar), intervalSteps(interval > 0 ? interval : 1)
{
}

CarRecorder::~CarRecorder() = default;

std::string CarRecorder::wheelKey(std::size_t wheel, const char* value)
{
    return "w" + std::to_string(wheel) + value;
}

void CarRecorder::start()
{
    if (recording || !car)
        return;
    recording = true;
    states = std::make_unique<CarStateWriter>();
    states->setInt("updatePause", intervalSteps);
    wheels = car->getWheels();
    states->setInt("wheelNr", static_cast<int>(wheels.size()));
    stepCounter = 0;
    record();
}

void CarRecorder::record()
{
    if (!recording || !car || !states)
        return;
    if (stepCounter == 0)
        addFrame();
    stepCounter = (stepCounter + 1) % intervalSteps;
}

void CarRecorder::addFrame()
{
    const Ogre::SceneNode* node = car->getNode();
    const Ogre::Vector3 position = node->_getDerivedPosition();
    const Ogre::Quaternion orientation = node->_getDerivedOrientation();
    CarStateWriter::Frame frame{{"posx", position.x},    {"posy", position.y},    {"posz", position.z},
                                {"quatw", orientation.w}, {"quatx", orientation.x}, {"quaty", orientation.y},
                                {"quatz", orientation.z}};
    for (std::size_t i = 0; i < wheels.size(); ++i)
    {
        frame[wheelKey(i, "y")] = wheels[i]->getSuspensionOffset();
        frame[wheelKey(i, "steer")] = wheels[i]->getSteerAngle();
        frame[wheelKey(i, "roll")] = wheels[i]->getRollAngle();
    }
    states->addFrame(frame);
}

bool CarRecorder::save(const std::string& path, std::string* error) const
{
    if (!states)
    {
        if (error)
            *error = path + ": nothing recorded";
        return false;
    }
    return states->save(path, error);
}
