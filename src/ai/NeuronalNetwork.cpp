// Named inputs and outputs over a FANN network, and its training text files.
#include "ai/NeuronalNetwork.h"

#include "AtomicFile.h"
#include "RegularFile.h"

#include <floatfann.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace
{
constexpr float kActivationSteepness = 1.0f;
constexpr float kBitFailLimit = 0.01f;

bool declared(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Every declared name must have a value.
bool collect(const std::vector<std::string>& names, const NeuronalNetwork::Values& values, std::vector<fann_type>& out)
{
    out.clear();
    for (const std::string& name : names)
    {
        auto found = values.find(name);
        if (found == values.end())
            return false;
        out.push_back(found->second);
    }
    return true;
}

void writeLine(std::ostream& out, const std::vector<std::string>& names, const NeuronalNetwork::Values& values)
{
    for (const std::string& name : names)
    {
        auto found = values.find(name);
        out << (found == values.end() ? 0.0f : found->second) << ' ';
    }
    out << '\n';
}
}

void NeuronalNetwork::FannDeleter::operator()(fann* doomed) const
{
    fann_destroy(doomed);
}

NeuronalNetwork::NeuronalNetwork(unsigned layers, unsigned hidden)
    : layerCount(layers), hiddenCount(hidden)
{
    // FANN prints its errors on stderr unless told otherwise; our callers report failures.
    fann_set_error_log(nullptr, nullptr);
}

NeuronalNetwork::~NeuronalNetwork() = default;

void NeuronalNetwork::addName(const std::string& name, bool isInput)
{
    if (isInput)
    {
        inputNames.push_back(name);
        ++inputCount;
    }
    else
    {
        outputNames.push_back(name);
        ++outputCount;
    }
}

void NeuronalNetwork::setInput(const std::string& name, float value)
{
    if (declared(inputNames, name))
        inputValues[name] = value;
}

void NeuronalNetwork::setOutput(const std::string& name, float value)
{
    if (declared(outputNames, name))
        outputValues[name] = value;
}

float NeuronalNetwork::getOutput(const std::string& name) const
{
    auto found = outputValues.find(name);
    return found == outputValues.end() ? 0.0f : found->second;
}

bool NeuronalNetwork::run()
{
    if (!network)
        return true;
    std::vector<fann_type> inputs;
    if (inputCount != inputNames.size() || !collect(inputNames, inputValues, inputs))
        return false;
    if (outputCount != outputNames.size())
        return false;
    const fann_type* results = fann_run(network.get(), inputs.data());
    if (!results)
        return false;
    for (std::size_t i = 0; i < outputNames.size(); ++i)
        outputValues[outputNames[i]] = results[i];
    return true;
}

void NeuronalNetwork::addTrainingSample()
{
    recordedInputs.push_back(inputValues);
    recordedOutputs.push_back(outputValues);
}

bool NeuronalNetwork::writeTrainingFile(const std::string& fileName, std::string* error) const
{
    auto refuse = [&](const std::string& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (fileName.empty())
        return refuse("no training file name");
    if (recordedInputs.empty())
        return refuse(fileName + ": no samples recorded, nothing written");
    // A loaded network's counts rule the file's header: lines of another length would not read back.
    if (inputCount != inputNames.size() || outputCount != outputNames.size())
        return refuse(fileName + ": the network's inputs and outputs differ from the driver's names");

    std::ostringstream text;
    text << recordedInputs.size() << ' ' << inputCount << ' ' << outputCount << '\n';
    for (std::size_t i = 0; i < recordedInputs.size(); ++i)
    {
        writeLine(text, inputNames, recordedInputs[i]);
        writeLine(text, outputNames, recordedOutputs[i]);
    }
    return writeFileAtomically(fileName, text.str(), error);
}

bool NeuronalNetwork::load(const std::string& fileName)
{
    network.reset();
    // The library opens what it is given and would wait for ever on a FIFO.
    if (fileName.empty() || !isRegularFile(fileName))
        return false;
    network.reset(fann_create_from_file(fileName.c_str()));
    if (!network)
        return false;
    inputCount = fann_get_num_input(network.get());
    outputCount = fann_get_num_output(network.get());
    return true;
}

bool NeuronalNetwork::create()
{
    network.reset();
    network.reset(fann_create_standard(layerCount, inputCount, hiddenCount, outputCount));
    if (!network)
        return false;
    fann_set_activation_steepness_hidden(network.get(), kActivationSteepness);
    fann_set_activation_steepness_output(network.get(), kActivationSteepness);
    fann_set_activation_function_hidden(network.get(), FANN_SIGMOID_SYMMETRIC);
    fann_set_activation_function_output(network.get(), FANN_SIGMOID_SYMMETRIC);
    fann_set_train_stop_function(network.get(), FANN_STOPFUNC_BIT);
    fann_set_bit_fail_limit(network.get(), kBitFailLimit);
    return true;
}

bool NeuronalNetwork::trainFromFile(const std::string& fileName, unsigned maxEpochs, unsigned epochsBetweenReports,
                                    unsigned seed)
{
    if (!isRegularFile(fileName))
        return false;
    fann_train_data* data = fann_read_train_from_file(fileName.c_str());
    if (!data)
        return false;
    bool trained = false;
    if (!network)
    {
        inputCount = fann_num_input_train_data(data);
        outputCount = fann_num_output_train_data(data);
        if (create())
        {
            std::srand(seed);
            fann_init_weights(network.get(), data);
        }
    }
    if (network && fann_get_num_input(network.get()) == fann_num_input_train_data(data) &&
        fann_get_num_output(network.get()) == fann_num_output_train_data(data))
    {
        fann_train_on_data(network.get(), data, maxEpochs, epochsBetweenReports, desiredError);
        trained = true;
    }
    fann_destroy_train(data);
    return trained;
}

int NeuronalNetwork::save(const std::string& fileName) const
{
    if (!network || fileName.empty() || !isAbsentOrRegularFile(fileName))
        return 0;
    return fann_save(network.get(), fileName.c_str());
}
