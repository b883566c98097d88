// Fuzzes the terrain list reader.
#include "FuzzInput.h"
#include "XMLParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try
    {
        XMLParser::getInstance()->loadTerrainDescMap(writeFuzzInput("terrains.xml", data, size));
    }
    catch (const DataFileError&)
    {
    }
    return 0;
}
