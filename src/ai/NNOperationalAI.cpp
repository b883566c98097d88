// The neural-network driver and its learning mode.
#include "ai/NNOperationalAI.h"

#include "LogStream.h"
#include "ai/AiCar.h"

namespace
{
const char* const kSpeedInput = "speeddiff";
const char* const kSpeedOutput = "speedresult";
const char* const kSteerInput = "diffphi1";
const char* const kSteerOutput = "steerresult";
}

NNOperationalAI::NNOperationalAI(const std::string& speedNetwork_, const std::string& steerNetwork_,
                                 const std::string& speedTraining, const std::string& steerTraining)
    : OperationalAI("Neuronal Net"),
      speedNetworkFile(speedNetwork_),
      speedTrainingFile(speedTraining),
      steerNetworkFile(steerNetwork_),
      steerTrainingFile(steerTraining)
{
    steerController.setGains(0.07f, 0.03f, 0.02f);
    speedController.setGains(0.05f, 0.02f, 0.0f);
    speedNetwork.addName(kSpeedInput, true);
    speedNetwork.addName(kSpeedOutput, false);
    steerNetwork.addName(kSteerInput, true);
    steerNetwork.addName(kSteerOutput, false);
    speedNetwork.load(speedNetworkFile);
    steerNetwork.load(steerNetworkFile);
    info1 = steerNetworkFile;
    info2 = speedNetworkFile;
}

NNOperationalAI::~NNOperationalAI()
{
    setLearning(false);
}

void NNOperationalAI::setLearning(bool on)
{
    if (learning && !on)
    {
        for (auto [network, file] : {std::pair<NeuronalNetwork*, const std::string*>{&speedNetwork, &speedTrainingFile},
                                     {&steerNetwork, &steerTrainingFile}})
        {
            if (network->getSampleCount() == 0)
                continue;
            std::string error;
            if (network->writeTrainingFile(*file, &error))
                debugLog() << "Neural driver: " << network->getSampleCount() << " training samples written to "
                           << *file << std::endl;
            else
                debugLog() << "Neural driver: training data not written: " << error << std::endl;
        }
    }
    learning = on;
}

void NNOperationalAI::resetControllers()
{
    steerController.reset();
    speedController.reset();
}

void NNOperationalAI::update(float dtSeconds)
{
    if (!canDrive())
        return;
    drive(dtSeconds);
}

bool NNOperationalAI::runNetwork(NeuronalNetwork& network, const char* input, float value)
{
    network.setInput(input, value);
    if (network.hasNetwork() && network.run())
        return true;
    if (!missingNetworkLogged)
    {
        debugLog() << "Neural driver: no usable network in " << steerNetworkFile << " or " << speedNetworkFile
                   << ", driving with its PID controllers" << std::endl;
        missingNetworkLogged = true;
    }
    return false;
}

float NNOperationalAI::steeringOutput(float angleDegrees, float dtSeconds)
{
    steerController.addSample(angleDegrees, dtSeconds);
    const float pid = steerController.getOutput();
    if (learning)
    {
        steerNetwork.setInput(kSteerInput, angleDegrees);
        steerNetwork.setOutput(kSteerOutput, pid);
        steerNetwork.addTrainingSample();
        return pid;
    }
    if (!runNetwork(steerNetwork, kSteerInput, angleDegrees))
        return pid;
    const float steering = steerNetwork.getOutput(kSteerOutput);
    return aiCar->getWheelSpeed() > kFastKmh ? steering * 2.0f : steering;
}

float NNOperationalAI::speedOutput(float speedErrorKmh, float dtSeconds)
{
    speedController.addSample(speedErrorKmh, dtSeconds);
    const float pid = speedController.getOutput();
    if (learning)
    {
        speedNetwork.setInput(kSpeedInput, speedErrorKmh);
        speedNetwork.setOutput(kSpeedOutput, pid);
        speedNetwork.addTrainingSample();
        return pid;
    }
    if (!runNetwork(speedNetwork, kSpeedInput, speedErrorKmh))
        return pid;
    return speedNetwork.getOutput(kSpeedOutput) * kSpeedOutputScale;
}
