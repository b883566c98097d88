// The engine parts the picture, cache and track tests need on top of the headless root: the
// PNG codec and the scene manager the game loads.
#pragma once

namespace OfflineEngine
{
// Loads the image codec plug-in named in the build's Plugins.cfg, once.
void loadImageCodecs();
// Loads the octree scene manager plug-in the race scene creates its scene manager with, once.
void loadSceneManagers();
}
