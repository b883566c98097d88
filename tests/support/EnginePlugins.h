// Engine plug-ins for the headless engine of the tests, from the folder the build's
// Plugins.cfg names.
#pragma once

#include <string>

namespace EnginePlugins
{
// Loads the plug-in (e.g. "Codec_STBI", "Plugin_ParticleFX") once per process.
void load(const std::string& name);
}
