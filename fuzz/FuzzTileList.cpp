// Fuzzes the tile list reader against one valid description in the scratch folder.
#include "FuzzInput.h"
#include "XMLParser.h"

#include <cstring>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        static const char kTile[] = "<TrackObject name=\"T\" width=\"1\" height=\"1\" x=\"0\" y=\"0\">"
                                    "<Picture>p.png</Picture><Meshes><Graphic>g.mesh</Graphic></Meshes>"
                                    "</TrackObject>";
        writeFuzzInput("t.xml", reinterpret_cast<const uint8_t*>(kTile), sizeof kTile - 1);
        return chdir(fuzzFolder().c_str()) == 0;
    }();
    // Listed paths are opened as given: keep the fuzzer away from devices that block.
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!ready || text.find("/dev") != std::string::npos || text.find("/proc") != std::string::npos)
        return 0;
    try
    {
        XMLParser::getInstance()->loadTrackObjectDescs(writeFuzzInput("list.xml", data, size));
    }
    catch (const DataFileError&)
    {
    }
    return 0;
}
