// Keeps the engine's log quiet while it lives and gives it back the detail level it had.
#pragma once

#include <OGRE/OgreLog.h>

class EngineLogSilence
{
public:
    EngineLogSilence();
    ~EngineLogSilence();
    EngineLogSilence(const EngineLogSilence&) = delete;
    EngineLogSilence& operator=(const EngineLogSilence&) = delete;

private:
    Ogre::Log* log = nullptr;  // the default log, when there is one
    Ogre::LoggingLevel previous = Ogre::LL_NORMAL;
};
