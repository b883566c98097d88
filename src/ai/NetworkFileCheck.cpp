// What a network file must hold before FANN reads it, and what a network must be to run.
#include "ai/NetworkFileCheck.h"

#include "ai/FannText.h"

#include <floatfann.h>

#include <cmath>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace
{
const char* const kVersionLine = "FANN_FLO_2.1\n";
constexpr std::uint32_t kLastActivation = FANN_COS;

// The settings between the layer count and the cascade lists, in FANN's order; whole
// numbers ("%u") or real ones ("%f").
struct Setting
{
    const char* name;
    bool real;
};
const Setting kSettings[] = {
    {"learning_rate", true},
    {"connection_rate", true},
    {"network_type", false},
    {"learning_momentum", true},
    {"training_algorithm", false},
    {"train_error_function", false},
    {"train_stop_function", false},
    {"cascade_output_change_fraction", true},
    {"quickprop_decay", true},
    {"quickprop_mu", true},
    {"rprop_increase_factor", true},
    {"rprop_decrease_factor", true},
    {"rprop_delta_min", true},
    {"rprop_delta_max", true},
    {"rprop_delta_zero", true},
    {"cascade_output_stagnation_epochs", false},
    {"cascade_candidate_change_fraction", true},
    {"cascade_candidate_stagnation_epochs", false},
    {"cascade_max_out_epochs", false},
    {"cascade_min_out_epochs", false},
    {"cascade_max_cand_epochs", false},
    {"cascade_min_cand_epochs", false},
    {"cascade_num_candidate_groups", false},
    {"bit_fail_limit", true},
    {"cascade_candidate_limit", true},
    {"cascade_weight_multiplier", true},
};
const char* const kScaleLists[] = {"scale_mean_in",  "scale_deviation_in",  "scale_new_min_in",  "scale_factor_in",
                                   "scale_mean_out", "scale_deviation_out", "scale_new_min_out", "scale_factor_out"};

// The text read in FANN's order; the first problem met is kept with its line.
class NetworkText
{
public:
    explicit NetworkText(const std::string& content) : text(content) {}

    bool fail(const std::string& what)
    {
        if (problem.empty())
            problem = text.at(what);
        return false;
    }

    // "name=<value>" and the white space after it.
    template <typename Number>
    bool setting(const char* name, Number& value)
    {
        if (!text.literal(name) || !text.literal("=") || !text.number(value))
            return fail(std::string(std::is_floating_point_v<Number> ? "no finite number" : "no whole number") +
                        " for \"" + name + "\"");
        text.skipBlanks();
        return true;
    }

    // "name=" and count numbers, each followed by white space.
    template <typename Number, typename Each>
    bool list(const char* name, std::uint64_t count, Each each)
    {
        if (!text.literal(name) || !text.literal("="))
            return fail(std::string("no \"") + name + "=\"");
        for (std::uint64_t i = 0; i < count; ++i)
        {
            Number value{};
            if (!text.number(value))
                return fail(std::string("\"") + name + "\" holds " + std::to_string(i) + " of its " +
                            std::to_string(count) + " entries");
            text.skipBlanks();
            if (!each(value))
                return false;
        }
        return true;
    }

    FannText text;
    std::string problem;
};

struct Layer
{
    const fann_neuron* first;
    const fann_neuron* last;
};

// Whether the neuron a connection points at lies among the first `below` neurons. By
// address: a damaged file's pointer may lie anywhere, and pointer arithmetic outside the
// array is undefined.
bool comesFromBelow(const fann_neuron* from, const fann_neuron* neurons, std::size_t below)
{
    const auto at = reinterpret_cast<std::uintptr_t>(from);
    const auto start = reinterpret_cast<std::uintptr_t>(neurons);
    return at >= start && (at - start) % sizeof(fann_neuron) == 0 && (at - start) / sizeof(fann_neuron) < below;
}

std::string neuronProblem(std::size_t index, const std::string& what)
{
    return "neuron " + std::to_string(index) + " " + what;
}
}

std::string NetworkFileCheck::checkText(const std::string& content)
{
    if (content.compare(0, std::string(kVersionLine).size(), kVersionLine) != 0)
        return "line 1: not a FANN network file of version FANN_FLO_2.1";
    NetworkText in(content);
    in.text.literal(kVersionLine);

    std::uint32_t layerCount = 0, networkType = 0;
    if (!in.setting("num_layers", layerCount))
        return in.problem;
    if (layerCount < 2)
        return in.text.at("a network needs an input and an output layer, this one has " +
                          std::to_string(layerCount) + " layers");
    for (const Setting& setting : kSettings)
    {
        float real = 0.0f;
        std::uint32_t whole = 0;
        if (!(setting.real ? in.setting(setting.name, real) : in.setting(setting.name, whole)))
            return in.problem;
        if (std::string(setting.name) == "network_type")
            networkType = whole;
    }
    if (networkType != FANN_NETTYPE_LAYER && networkType != FANN_NETTYPE_SHORTCUT)
        return in.text.at("unknown network type " + std::to_string(networkType));

    std::uint32_t functionCount = 0, steepnessCount = 0;
    const auto knownFunction = [&](std::uint32_t function) {
        return function <= kLastActivation || in.fail("unknown activation function " + std::to_string(function));
    };
    const auto anyNumber = [](float) { return true; };
    if (!in.setting("cascade_activation_functions_count", functionCount) ||
        !in.list<std::uint32_t>("cascade_activation_functions", functionCount, knownFunction) ||
        !in.setting("cascade_activation_steepnesses_count", steepnessCount) ||
        !in.list<float>("cascade_activation_steepnesses", steepnessCount, anyNumber))
        return in.problem;

    std::vector<std::uint32_t> sizes;
    const auto layerSize = [&](std::uint32_t size) {
        sizes.push_back(size);
        return size > 0 || in.fail("layer " + std::to_string(sizes.size() - 1) + " has no neurons");
    };
    if (!in.list<std::uint32_t>("layer_sizes", layerCount, layerSize))
        return in.problem;
    // Every layer of a layered network ends in a bias neuron, the output layer too; a
    // shortcut network has one bias, in its input layer.
    const std::uint32_t outputBias = networkType == FANN_NETTYPE_LAYER ? 1 : 0;
    if (sizes.front() < 2)
        return in.text.at("the input layer has no input beside its bias neuron");
    if (sizes.back() <= outputBias)
        return in.text.at("the output layer has no output");
    std::uint64_t neuronCount = 0;
    for (std::uint32_t size : sizes)
        neuronCount += size;

    std::uint32_t scaled = 0;
    if (!in.setting("scale_included", scaled))
        return in.problem;
    if (scaled > 1)
        return in.text.at("scale_included is " + std::to_string(scaled) + ", not 0 or 1");
    const std::uint64_t inputs = sizes.front() - 1;
    const std::uint64_t outputs = sizes.back() - outputBias;
    for (std::size_t i = 0; scaled && i < std::size(kScaleLists); ++i)
        if (!in.list<float>(kScaleLists[i], i < 4 ? inputs : outputs, anyNumber))
            return in.problem;

    // Each neuron: (connection count, activation function, steepness).
    if (!in.text.literal("neurons (num_inputs, activation_function, activation_steepness)="))
        return in.text.at("no neuron list");
    std::uint64_t connectionCount = 0;
    for (std::uint64_t i = 0; i < neuronCount; ++i)
    {
        std::uint32_t inputsOf = 0, function = 0;
        float steepness = 0.0f;
        if (!in.text.literal("(") || !in.text.number(inputsOf) || !in.text.literal(", ") ||
            !in.text.number(function) || !in.text.literal(", ") || !in.text.number(steepness) ||
            !in.text.literal(") "))
            return in.text.at("neuron " + std::to_string(i) + " of the " + std::to_string(neuronCount) +
                              " the layers hold is missing or not (count, function, finite steepness)");
        if (!knownFunction(function))
            return in.problem;
        connectionCount += inputsOf;
    }

    // Each connection: (neuron it comes from, weight).
    if (!in.text.literal("connections (connected_to_neuron, weight)="))
        return in.text.at("no connection list");
    for (std::uint64_t i = 0; i < connectionCount; ++i)
    {
        std::uint32_t from = 0;
        float weight = 0.0f;
        if (!in.text.literal("(") || !in.text.number(from) || !in.text.literal(", ") || !in.text.number(weight) ||
            !in.text.literal(") "))
            return in.text.at("connection " + std::to_string(i) + " of the " + std::to_string(connectionCount) +
                              " the neurons take is missing or not (neuron, finite weight)");
        if (from >= neuronCount)
            return in.text.at("connection " + std::to_string(i) + " comes from neuron " + std::to_string(from) +
                              " of " + std::to_string(neuronCount));
    }
    if (!in.text.atEnd())
        return in.text.at("more text after the last connection");
    return "";
}

std::string NetworkFileCheck::checkNetwork(const fann& network)
{
    if (!network.first_layer || !network.last_layer || network.last_layer - network.first_layer < 2)
        return "a network needs an input and an output layer";
    if (network.network_type != FANN_NETTYPE_LAYER && network.network_type != FANN_NETTYPE_SHORTCUT)
        return "unknown network type";
    if (!std::isfinite(network.connection_rate))
        return "the connection rate is not finite";
    const fann_neuron* neurons = network.first_layer->first_neuron;
    std::vector<Layer> layers;
    const fann_neuron* expected = neurons;
    for (const fann_layer* layer = network.first_layer; layer != network.last_layer; ++layer)
    {
        if (layer->first_neuron != expected || layer->last_neuron <= layer->first_neuron)
            return "layer " + std::to_string(layers.size()) + " does not follow the one before it";
        layers.push_back({layer->first_neuron, layer->last_neuron});
        expected = layer->last_neuron;
    }
    if (static_cast<std::size_t>(expected - neurons) != network.total_neurons)
        return "the layers do not hold the network's " + std::to_string(network.total_neurons) + " neurons";
    const std::size_t outputLayerSize = static_cast<std::size_t>(layers.back().last - layers.back().first);
    if (network.num_input + 1 != static_cast<std::size_t>(layers.front().last - layers.front().first))
        return "the input layer does not hold the network's inputs and a bias";
    if (network.num_output == 0 || network.num_output > outputLayerSize)
        return "the output layer does not hold the network's outputs";

    // fann_run sums the first connections' count of neurons of the layer below (layered) or
    // of all layers below (shortcut) straight from the neuron array; sparse networks follow
    // the connections themselves. Either must stay below the neuron's own layer.
    const bool dense = network.connection_rate >= 1.0f;
    unsigned connections = 0;
    for (std::size_t l = 0; l < layers.size(); ++l)
    {
        const std::size_t layerStart = static_cast<std::size_t>(layers[l].first - neurons);
        const std::size_t below = l == 0 ? 0
                                  : network.network_type == FANN_NETTYPE_SHORTCUT
                                      ? layerStart
                                      : static_cast<std::size_t>(layers[l - 1].last - layers[l - 1].first);
        for (const fann_neuron* neuron = layers[l].first; neuron != layers[l].last; ++neuron)
        {
            const std::size_t index = static_cast<std::size_t>(neuron - neurons);
            if (neuron->first_con != connections || neuron->last_con < neuron->first_con ||
                neuron->last_con > network.total_connections)
                return neuronProblem(index, "has connections outside the network's list");
            const unsigned count = neuron->last_con - neuron->first_con;
            if (l == 0 && count > 0)
                return neuronProblem(index, "is an input but has connections");
            if (dense && count > below)
                return neuronProblem(index, "takes " + std::to_string(count) + " connections from the " +
                                                std::to_string(below) + " neurons below it");
            if (neuron->activation_function > kLastActivation)
                return neuronProblem(index, "has an unknown activation function");
            if (!std::isfinite(neuron->activation_steepness))
                return neuronProblem(index, "has a steepness that is not finite");
            for (unsigned c = neuron->first_con; c < neuron->last_con; ++c)
            {
                if (!comesFromBelow(network.connections[c], neurons, layerStart))
                    return "connection " + std::to_string(c) + " does not come from a neuron below neuron " +
                           std::to_string(index);
                if (!std::isfinite(network.weights[c]))
                    return "connection " + std::to_string(c) + " has a weight that is not finite";
            }
            connections = neuron->last_con;
        }
    }
    if (connections != network.total_connections)
        return "the neurons do not take the network's " + std::to_string(network.total_connections) + " connections";
    return "";
}
