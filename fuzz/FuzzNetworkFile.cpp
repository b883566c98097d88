// Fuzzes the network file reader: any bytes give a network that runs to finite answers or
// none, and a network read is written and read back the same way.
#include "FuzzInput.h"
#include "ai/NeuronalNetwork.h"

#include <cmath>

namespace
{
// The steering network's names, as the neural driver declares them.
void declareSteering(NeuronalNetwork& network)
{
    network.addName("diffphi1", true);
    network.addName("steerresult", false);
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = writeFuzzInput("fuzz.net", data, size);
    NeuronalNetwork network(3, 3);
    declareSteering(network);
    network.setOutput("steerresult", 0.5f);
    if (!network.load(path))
    {
        if (network.hasNetwork() || network.getLoadFailure() == NeuronalNetwork::LoadFailure::None)
            __builtin_trap();  // a refused file leaves no network and says why
        return 0;
    }
    for (float angle : {-180.0f, -1.0f, 0.0f, 0.5f, 90.0f})
    {
        network.setInput("diffphi1", angle);
        if (network.run() && !std::isfinite(network.getOutput("steerresult")))
            __builtin_trap();  // a run that reports success answers a number
    }
    // What FANN writes of a network we accepted must pass our checks again.
    const std::string saved = fuzzFolder() + "saved.net";
    if (network.save(saved) != 0)
        __builtin_trap();
    NeuronalNetwork again(3, 3);
    declareSteering(again);
    if (!again.load(saved) || again.getInputCount() != network.getInputCount() ||
        again.getOutputCount() != network.getOutputCount())
        __builtin_trap();
    return 0;
}
