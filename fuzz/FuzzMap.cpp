// Fuzzes the track file reader, with a small tile set so the name and footprint checks run.
#include "FuzzInput.h"
#include "XMLParser.h"

#include <tuple>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const TrackObjectDescs known = [] {
        TrackObjectDescs descs;
        for (const auto& [name, width, height] : {std::tuple{"Straight", 1, 1}, std::tuple{"Wide", 2, 3}})
        {
            auto desc = std::make_unique<TrackObjectDesc>();
            desc->name = name;
            desc->width = width;
            desc->height = height;
            descs[name] = std::move(desc);
        }
        return descs;
    }();
    const std::string path = writeFuzzInput("track.map", data, size);
    try
    {
        XMLParser::getInstance()->loadMap(path, size % 2 ? &known : nullptr);
    }
    catch (const DataFileError&)
    {
    }
    return 0;
}
