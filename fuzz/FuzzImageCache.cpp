// Fuzzes the image caches' loader: any bytes in a cached lightmap file give a picture or a
// refusal, never a crash, whatever size the caller expects.
#include "FuzzInput.h"
#include "graphics/TempImageManagerTLM.h"
#include "graphics/ToyPictureGrey.h"
#include "graphics/ToyPictureRGBA.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>

#include <sys/stat.h>

namespace
{
// The engine without a window, with the PNG codec the game loads.
void startEngine()
{
    static bool started = false;
    if (started)
        return;
    auto* logs = new Ogre::LogManager();
    logs->createLog("", true, false, true);
    auto* root = new Ogre::Root("", "", "");
    new Ogre::DefaultHardwareBufferManager();
    Ogre::MaterialManager::getSingleton().initialise();
    root->loadPlugin(std::string(QUILLMOR_OGRE_PLUGIN_DIR) + "/Codec_STBI");
    started = true;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    startEngine();
    static TempImageManagerTLM cache("lightmaps", fuzzFolder());
    mkdir((fuzzFolder() + "tmp").c_str(), 0700);
    mkdir((fuzzFolder() + "tmp/lightmaps").c_str(), 0700);
    writeFuzzInput("tmp/lightmaps/Straight_0.png", data, size);
    ToyPictureGrey grey(64, 64);
    cache.loadImage(grey, "Straight_0");
    ToyPictureRGBA colour(16, 16);
    cache.loadImage(colour, "Straight_0");
    return 0;
}
