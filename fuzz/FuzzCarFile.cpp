// Fuzzes the car file reader: any bytes give a car or a DataFileError, nothing else.
#include "FuzzInput.h"
#include "XMLParser.h"
#include "physic/CarDesc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = writeFuzzInput("car.xml", data, size);
    try
    {
        std::unique_ptr<CarDesc> car = XMLParser::getInstance()->loadCar(path);
        if (!car)
            __builtin_trap();  // a reader never reports an empty car as loaded
    }
    catch (const DataFileError&)
    {
    }
    return 0;
}
