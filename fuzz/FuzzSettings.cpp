// Fuzzes the settings file reader; a bad file must leave every setting as it was.
#include "FuzzInput.h"
#include "GameConfiguration.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = writeFuzzInput("quillmor.cfg", data, size);
    GameConfiguration config;
    if (!config.load(path) && config.getResolution() != "1024 x 768")
        std::abort();  // a refused file changed a setting
    // Whatever was read is written back out and must read again.
    if (!config.save(fuzzFolder() + "saved.cfg"))
        std::abort();
    GameConfiguration again;
    if (!again.load(fuzzFolder() + "saved.cfg"))
        std::abort();
    return 0;
}
