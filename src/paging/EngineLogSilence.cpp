// The quiet log guard.
#include "paging/EngineLogSilence.h"

#include <OGRE/OgreLogManager.h>

EngineLogSilence::EngineLogSilence()
{
    Ogre::LogManager* logs = Ogre::LogManager::getSingletonPtr();
    log = logs ? logs->getDefaultLog() : nullptr;
    if (!log)
        return;
    previous = log->getLogDetail();
    log->setLogDetail(Ogre::LL_LOW);
}

EngineLogSilence::~EngineLogSilence()
{
    if (log)
        log->setLogDetail(previous);
}
