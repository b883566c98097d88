// The engine part the picture, cache and track tests need on top of the headless root: the PNG
// codec the game loads.
#pragma once

namespace OfflineEngine
{
// Loads the image codec plug-in named in the build's Plugins.cfg, once.
void loadImageCodecs();
}
