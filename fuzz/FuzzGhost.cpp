// Fuzzes the ghost file reader: a refused file changes nothing, an accepted one writes and
// reads back the same.
#include "CarStateWriter.h"
#include "FuzzInput.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = writeFuzzInput("track.sde.shadow", data, size);
    CarStateWriter recording;
    recording.setInt("wheelNr", 4);
    recording.addFrame({{"posx", 1.0f}});
    if (!recording.load(path))
    {
        if (recording.getFrameCount() != 1 || recording.getInt("wheelNr") != 4)
            std::abort();  // a refused file changed the recording
        return 0;
    }
    const std::string again = fuzzFolder() + "again.shadow";
    if (!recording.save(again))
        std::abort();
    CarStateWriter back;
    if (!back.load(again) || back.getFrameCount() != recording.getFrameCount() ||
        back.getInt("wheelNr") != recording.getInt("wheelNr") ||
        back.getInt("updatePause") != recording.getInt("updatePause"))
        std::abort();
    for (unsigned i = 0; i < recording.getFrameCount(); ++i)
        if (*back.getFrame(i) != *recording.getFrame(i))
            std::abort();
    return 0;
}
