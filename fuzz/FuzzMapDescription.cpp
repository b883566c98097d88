// Fuzzes the reader of a track file's root description.
#include "FuzzInput.h"
#include "XMLParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try
    {
        XMLParser::getInstance()->loadMapDescription(writeFuzzInput("described.map", data, size));
    }
    catch (const DataFileError&)
    {
    }
    return 0;
}
