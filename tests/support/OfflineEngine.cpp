// The image codec and scene manager plug-ins for the headless engine of the tests.
#include "OfflineEngine.h"

#include "EnginePlugins.h"
#include "graphics/JpegImageCodec.h"
#include "graphics/PngImageCodec.h"

void OfflineEngine::loadImageCodecs()
{
    EnginePlugins::load("Codec_STBI");
    PngImageCodec::install();  // the game's PNG codec, as the game installs it
    JpegImageCodec::install();
}

void OfflineEngine::loadSceneManagers()
{
    EnginePlugins::load("Plugin_OctreeSceneManager");
}
