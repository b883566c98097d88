// Named inputs and outputs over a FANN network, and its training text files.
#include "ai/NeuronalNetwork.h"

#include "AtomicFile.h"
#include "RegularFile.h"
#include "ai/NetworkFileCheck.h"
#include "ai/TrainingFileCheck.h"

// The float build's types first: FANN's internal reader declarations use them.
#include <floatfann.h>
#include <fann_internal.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>

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

// The checked bytes themselves go to FANN's reader, never the file a second time.
struct MemoryFile
{
    explicit MemoryFile(std::string& content) : file(fmemopen(content.data(), content.size(), "r")) {}
    ~MemoryFile()
    {
        if (file)
            std::fclose(file);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;
    std::FILE* file;
};

bool refuse(std::string* problem, const std::string& reason)
{
    if (problem)
        *problem = reason;
    return false;
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
    // Huge finite weights can still sum to infinity or NaN, which must not reach a car.
    for (std::size_t i = 0; i < outputNames.size(); ++i)
        if (!std::isfinite(results[i]))
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
    if (fileName.empty())
        return refuse(error, "no training file name");
    // A loaded network's counts rule the file's header: lines of another length would not read back.
    if (inputCount != inputNames.size() || outputCount != outputNames.size())
        return refuse(error, fileName + ": the network's inputs and outputs differ from the driver's names");

    std::ostringstream text;
    text << recordedInputs.size() << ' ' << inputCount << ' ' << outputCount << '\n';
    for (std::size_t i = 0; i < recordedInputs.size(); ++i)
    {
        writeLine(text, inputNames, recordedInputs[i]);
        writeLine(text, outputNames, recordedOutputs[i]);
    }
    return writeFileAtomically(fileName, text.str(), error);
}

bool NeuronalNetwork::load(const std::string& fileName, std::string* problem)
{
    network.reset();
    loadFailure = LoadFailure::Missing;
    if (fileName.empty())
        return refuse(problem, "no network file name");
    struct stat info{};
    if (::stat(fileName.c_str(), &info) != 0 && errno == ENOENT)
        return refuse(problem, fileName + ": no such file");
    loadFailure = LoadFailure::Unreadable;
    std::string content, reason;
    if (!readRegularFile(fileName, NetworkFileCheck::kMaxFileBytes, content, reason))
        return refuse(problem, fileName + ": " + reason);
    loadFailure = LoadFailure::Damaged;
    if (reason = NetworkFileCheck::checkText(content); !reason.empty())
        return refuse(problem, fileName + ": " + reason);
    {
        MemoryFile memory(content);
        if (memory.file)
            network.reset(fann_create_from_fd(memory.file, fileName.c_str()));
    }
    if (!network)
        return refuse(problem, fileName + ": FANN could not read it");
    if (reason = NetworkFileCheck::checkNetwork(*network); !reason.empty())
    {
        network.reset();
        return refuse(problem, fileName + ": " + reason);
    }
    loadFailure = LoadFailure::None;
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
                                    unsigned seed, std::string* problem)
{
    std::string content, reason;
    if (!readRegularFile(fileName, TrainingFileCheck::kMaxFileBytes, content, reason))
        return refuse(problem, fileName + ": " + reason);
    TrainingFileCheck::Counts counts;
    if (reason = TrainingFileCheck::checkText(content, counts); !reason.empty())
        return refuse(problem, fileName + ": " + reason);
    // FANN's first weights come from the samples' range: it reads the first sample blindly.
    if (counts.samples == 0)
        return refuse(problem, fileName + ": no samples to train on");
    fann_train_data* data = nullptr;
    {
        MemoryFile memory(content);
        if (memory.file)
            data = fann_read_train_from_fd(memory.file, fileName.c_str());
    }
    if (!data)
        return refuse(problem, fileName + ": FANN could not read it");
    if (fann_length_train_data(data) != counts.samples || fann_num_input_train_data(data) != counts.inputs ||
        fann_num_output_train_data(data) != counts.outputs)
    {
        fann_destroy_train(data);
        return refuse(problem, fileName + ": FANN read other counts than the file's");
    }
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
    return trained || refuse(problem, fileName + ": its samples do not fit the network's inputs and outputs");
}

int NeuronalNetwork::save(const std::string& fileName) const
{
    if (!network || fileName.empty() || !isAbsentOrRegularFile(fileName))
        return 0;
    return fann_save(network.get(), fileName.c_str());
}
