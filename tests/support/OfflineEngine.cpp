// The image codec and scene manager plug-ins for the headless engine of the tests.
#include "OfflineEngine.h"

#include "EnginePlugins.h"

void OfflineEngine::loadImageCodecs()
{
    EnginePlugins::load("Codec_STBI");
}

void OfflineEngine::loadSceneManagers()
{
    EnginePlugins::load("Plugin_OctreeSceneManager");
}

// The engine's PNG codec hands its encoded bytes from malloc to a stream that frees them
// with delete[]: in sanitizer builds, judge only our own code.
extern "C" const char* __asan_default_options()
{
    return "alloc_dealloc_mismatch=0";
}
