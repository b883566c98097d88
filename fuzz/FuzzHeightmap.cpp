// Fuzzes the heightmap decoder: any bytes, at the page sizes a terrain file may ask for.
#include "FuzzInput.h"
#include "track/DataFileError.h"
#include "track/HeightmapImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const unsigned kSizes[] = {17, 3, 33, 257};
    if (size == 0)
        return 0;
    const unsigned pageSize = kSizes[data[0] % 4];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    try
    {
        const std::vector<float> heights = HeightmapImage::decode(bytes, "fuzz.png", pageSize);
        if (heights.size() != static_cast<size_t>(pageSize) * pageSize)
            __builtin_trap();
    }
    catch (const DataFileError&)
    {
    }
    return 0;
}
