// The computer driver on two neural networks, one for the steering and one for the speed.
// Learning, it drives with PID controllers and records their decisions as training data;
// driving, the networks' outputs take the wheel.
#pragma once

#include "ai/NeuronalNetwork.h"
#include "ai/OperationalAI.h"
#include "ai/PIDController.h"

#include <string>

class NNOperationalAI : public OperationalAI
{
public:
    // The networks are read at once; the training files are where learning writes.
    NNOperationalAI(const std::string& speedNetworkFile, const std::string& steerNetworkFile,
                    const std::string& speedTrainingFile, const std::string& steerTrainingFile);
    // A learning driver writes its training files.
    ~NNOperationalAI() override;

    void update(float dtSeconds) override;
    // Leaving learning writes the recorded samples, the speed file first.
    virtual void setLearning(bool on);
    bool isLearning() const { return learning; }
    // Whether both networks loaded; without them the driver drives with its PID outputs.
    bool hasNetworks() const { return speedNetwork.hasNetwork() && steerNetwork.hasNetwork(); }
    std::size_t getSampleCount() const { return steerNetwork.getSampleCount(); }

    static constexpr float kFastKmh = 200.0f;          // above it the network's steering is doubled
    static constexpr float kSpeedOutputScale = 1.5f;

protected:
    void resetControllers() override;
    float steeringOutput(float angleDegrees, float dtSeconds) override;
    float speedOutput(float speedErrorKmh, float dtSeconds) override;

private:
    // Runs the network on the value; false (logged once) when it cannot run.
    bool runNetwork(NeuronalNetwork& network, const char* input, float value);

    PIDController steerController;
    PIDController speedController;
    NeuronalNetwork speedNetwork{3, 3};
    NeuronalNetwork steerNetwork{3, 3};
    std::string speedNetworkFile;
    std::string speedTrainingFile;
    std::string steerNetworkFile;
    std::string steerTrainingFile;
    bool learning = false;
    bool missingNetworkLogged = false;
};
