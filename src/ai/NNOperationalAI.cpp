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
    speedNetwork.load(speedNetworkFile, &speedProblem);
    steerNetwork.load(steerNetworkFile, &steerProblem);
    updateInfo();
}

bool NNOperationalAI::usable(const NeuronalNetwork& network)
{
    return network.hasNetwork() && network.getInputCount() == 1 && network.getOutputCount() == 1;
}

std::string NNOperationalAI::networkInfo(const NeuronalNetwork& network, const std::string& file) const
{
    if (learning || usable(network))
        return file;
    // The panel is narrow: the file's own name and a word.
    const std::string name = file.substr(file.find_last_of('/') + 1);
    switch (network.getLoadFailure())
    {
    case NeuronalNetwork::LoadFailure::Missing:
        return name + ": missing";
    case NeuronalNetwork::LoadFailure::Unreadable:
        return name + ": unreadable";
    case NeuronalNetwork::LoadFailure::Damaged:
        return name + ": damaged";
    case NeuronalNetwork::LoadFailure::None:
        break;
    }
    return name + ": wrong size";
}

void NNOperationalAI::updateInfo()
{
    info1 = networkInfo(steerNetwork, steerNetworkFile);
    info2 = networkInfo(speedNetwork, speedNetworkFile);
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
    updateInfo();
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

float NNOperationalAI::runNetwork(NeuronalNetwork& network, const char* input, float value, const char* output)
{
    network.setInput(input, value);
    if (!(network.run() && usable(network)) && !unusableLogged)
    {
        unusableLogged = true;
        struct Use
        {
            const NeuronalNetwork& network;
            const std::string& problem;
            const std::string& panelLine;
            const char* task;
        };
        const Use uses[] = {{steerNetwork, steerProblem, info1, "steer"},
                            {speedNetwork, speedProblem, info2, "accelerate or brake"}};
        for (const Use& use : uses)
            if (!usable(use.network))
                debugLog() << "Neural driver: " << use.panelLine << (use.problem.empty() ? "" : " (" + use.problem + ")")
                           << ", so it does not " << use.task << std::endl;
    }
    return network.getOutput(output);
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
    const float steering = runNetwork(steerNetwork, kSteerInput, angleDegrees, kSteerOutput);
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
    return runNetwork(speedNetwork, kSpeedInput, speedErrorKmh, kSpeedOutput) * kSpeedOutputScale;
}
