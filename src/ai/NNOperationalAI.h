// The computer driver on two neural networks, one for the steering and one for the speed.
// Learning, it drives with PID controllers and records their decisions as training data;
// driving, the networks' outputs take the wheel: without a usable network it neither steers
// nor accelerates, and its panel lines say why.
#pragma once

#include "ai/NeuronalNetwork.h"
#include "ai/OperationalAI.h"
#include "ai/PIDController.h"

#include <string>

class NNOperationalAI : public OperationalAI
{
public:
    // The networks are read at once (a missing or damaged one is not used); the training
    // files are where learning writes.
    NNOperationalAI(const std::string& speedNetworkFile, const std::string& steerNetworkFile,
                    const std::string& speedTrainingFile, const std::string& steerTrainingFile);
    // A learning driver writes its training files.
    ~NNOperationalAI() override;

    void update(float dtSeconds) override;
    // Leaving learning writes the recorded samples, the speed file first; a driver that
    // recorded none leaves the files of an earlier session as they are.
    virtual void setLearning(bool on);
    bool isLearning() const { return learning; }
    // Whether both networks loaded and fit the driver's one input and one output.
    bool hasNetworks() const { return usable(speedNetwork) && usable(steerNetwork); }
    std::size_t getSampleCount() const { return steerNetwork.getSampleCount(); }

    static constexpr float kFastKmh = 200.0f;          // above it the network's steering is doubled
    static constexpr float kSpeedOutputScale = 1.5f;

protected:
    void resetControllers() override;
    float steeringOutput(float angleDegrees, float dtSeconds) override;
    float speedOutput(float speedErrorKmh, float dtSeconds) override;

private:
    static bool usable(const NeuronalNetwork& network);
    // The panel's line for a network: its file, or in driving mode why it is not used.
    std::string networkInfo(const NeuronalNetwork& network, const std::string& file) const;
    void updateInfo();
    // Runs the network on the value; without a usable network the output keeps its last
    // value (0 when never set), and the first such step says so in the log.
    float runNetwork(NeuronalNetwork& network, const char* input, float value, const char* output);

    PIDController steerController;
    PIDController speedController;
    NeuronalNetwork speedNetwork{3, 3};
    NeuronalNetwork steerNetwork{3, 3};
    std::string speedNetworkFile;
    std::string speedTrainingFile;
    std::string steerNetworkFile;
    std::string steerTrainingFile;
    std::string speedProblem;  // why a network was not loaded, for the log
    std::string steerProblem;
    bool learning = false;
    bool unusableLogged = false;
};
