// Reading the test scenes' figures off the process and the engine's log.
#include "SceneFigures.h"

#include <fstream>
#include <iostream>

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key)
    {
        if (key == "VmRSS:")
        {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

bool logHasErrors(const std::string& logFile)
{
    std::ifstream log(logFile);
    std::string line;
    bool errors = false;
    while (std::getline(log, line))
        if (line.find("Error") != std::string::npos || line.find("Exception") != std::string::npos)
        {
            std::cout << "log: " << line << "\n";
            errors = true;
        }
    return errors;
}
