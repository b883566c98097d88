// Fuzzes the terrain file reader and its material rewrite.
#include "FuzzInput.h"
#include "track/DataFileError.h"
#include "track/TerrainConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    try
    {
        TerrainConfig::parse(text, "fuzz.cfg");
    }
    catch (const DataFileError&)
    {
    }
    try
    {
        TerrainConfig::parse(TerrainConfig::withCustomMaterial(text, "Lightmapped"), "fuzz.cfg");
    }
    catch (const DataFileError&)
    {
    }
    return 0;
}
