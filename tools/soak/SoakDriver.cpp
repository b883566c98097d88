// Runs the game with a driver that restarts the engine several times (the options menu's
// restart path) and prints the resident memory and open file descriptors after each cycle.
// usage: quillmor_soak [restarts]   (run from the build's bin folder)
#include "GameManager.h"

#include <OGRE/OgreException.h>

#include <dirent.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

namespace
{
constexpr int kFramesPerCycle = 30;

long residentKilobytes()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

int openDescriptors()
{
    int count = 0;
    if (DIR* folder = opendir("/proc/self/fd"))
    {
        while (readdir(folder))
            ++count;
        closedir(folder);
    }
    return count - 3;  // ".", ".." and the listing's own descriptor
}
}

int main(int argc, char** argv)
{
    const int restarts = argc > 1 ? std::atoi(argv[1]) : 5;
    int cycle = 0;
    int frames = 0;
    GameManager* manager = GameManager::getInstance();
    manager->setFrameHook([&](GameManager* game) {
        if (++frames < kFramesPerCycle)
            return true;
        frames = 0;
        std::printf("cycle %d rss_kb %ld fds %d\n", cycle, residentKilobytes(), openDescriptors());
        std::fflush(stdout);
        if (cycle++ < restarts)
            game->requestRestart();
        return false;
    });
    int status = 0;
    try
    {
        manager->start();
    }
    catch (const Ogre::Exception& error)
    {
        std::cerr << "An exception has occured: " << error.getFullDescription() << std::endl;
        status = 1;
    }
    catch (const std::string& message)
    {
        std::cerr << "Quillmor Error: " << message << std::endl;
        status = 1;
    }
    manager->shutdown();
    return status;
}
