// Fuzzes the training file reader: any bytes train a network or are refused with a reason.
#include "FuzzInput.h"
#include "ai/NeuronalNetwork.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = writeFuzzInput("fuzz.data", data, size);
    NeuronalNetwork network(3, 3);
    network.addName("speeddiff", true);
    network.addName("speedresult", false);
    std::string problem;
    if (!network.trainFromFile(path, 1, 0, NeuronalNetwork::kDefaultTrainingSeed, &problem))
    {
        if (problem.empty())
            __builtin_trap();  // a refusal says why
        return 0;
    }
    if (!network.hasNetwork())
        __builtin_trap();
    return 0;
}
