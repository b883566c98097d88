// A FANN network whose inputs and outputs are addressed by name: the neural driver sets
// its inputs, runs it and reads its outputs, and records (input, wanted output) samples
// that it writes as a FANN training file.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct fann;

class NeuronalNetwork
{
public:
    using Values = std::map<std::string, float>;
    static constexpr unsigned kDefaultTrainingSeed = 100000;

    // A network of `layers` layers (3: inputs, one hidden layer, outputs) once created.
    NeuronalNetwork(unsigned layers, unsigned hidden);
    virtual ~NeuronalNetwork();
    NeuronalNetwork(const NeuronalNetwork&) = delete;
    NeuronalNetwork& operator=(const NeuronalNetwork&) = delete;

    // Declares the next input or output; declaration order is the network's order.
    void addName(const std::string& name, bool isInput);
    // Undeclared names are ignored.
    void setInput(const std::string& name, float value);
    void setOutput(const std::string& name, float value);
    // The output's last value; 0 for one never set.
    float getOutput(const std::string& name) const;

    // Runs the network on the inputs into the outputs. True without a network (nothing
    // happens); false, outputs unchanged, when the inputs or the network's counts don't
    // match the names, or when the network's answer is not a finite number.
    bool run();
    bool hasNetwork() const { return network != nullptr; }

    void addTrainingSample();
    std::size_t getSampleCount() const { return recordedInputs.size(); }
    // Writes the samples as FANN training text (no samples: the count line alone), whole or
    // not at all. False, with the reason in *error, when the network's counts differ from
    // the names or the file cannot be written.
    bool writeTrainingFile(const std::string& fileName, std::string* error = nullptr) const;

    // Why the last load left no network.
    enum class LoadFailure
    {
        None,
        Missing,
        Unreadable,  // not a regular file, too large, or the system refused it
        Damaged,     // refused by the checks: FANN would misread or misrun it
    };
    // Reads a FANN network file and checks it before and after FANN reads it; false (and no
    // network) when it is missing, unreadable or damaged, with the reason in *problem.
    bool load(const std::string& fileName, std::string* problem = nullptr);
    LoadFailure getLoadFailure() const { return loadFailure; }
    // Training operations, for the tool that makes the game's networks.
    bool create();
    // A new network starts from weights drawn with the seed, so the same data and seed
    // always train the same network (FANN seeds itself from the clock otherwise). The file
    // is checked as a network file is; false, with the reason in *problem, when it is
    // refused, holds no samples, or does not fit the network.
    bool trainFromFile(const std::string& fileName, unsigned maxEpochs, unsigned epochsBetweenReports,
                       unsigned seed = kDefaultTrainingSeed, std::string* problem = nullptr);
    // 0 on success, -1 on failure; 0 without writing when there is no network or name.
    int save(const std::string& fileName) const;

    unsigned getInputCount() const { return inputCount; }
    unsigned getOutputCount() const { return outputCount; }

private:
    struct FannDeleter
    {
        void operator()(fann* network) const;
    };

    unsigned inputCount = 0;
    unsigned outputCount = 0;
    unsigned layerCount = 0;
    unsigned hiddenCount = 0;
    float desiredError = 0.0f;
    std::unique_ptr<fann, FannDeleter> network;
    LoadFailure loadFailure = LoadFailure::None;
    Values outputValues;
    Values inputValues;
    std::vector<std::string> outputNames;
    std::vector<std::string> inputNames;
    std::vector<Values> recordedInputs;
    std::vector<Values> recordedOutputs;
};
