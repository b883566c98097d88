// The lists the options menu offers for the render system, the video mode and anti-aliasing,
// made from what the engine's render systems report.
#pragma once

#include <string>
#include <vector>

namespace VideoOptions
{
// The render systems of this build that the settings accept, in the engine's order: a name
// offered here can always be stored and started.
std::vector<std::string> offeredRenderers(const std::vector<std::string>& available);

// The video modes of a render system's "Video Mode" values as the settings write them
// ("1024 x 768"): blank runs made one, the colour depth cut off for Direct3D9, each mode once.
// A kept mode missing from the values (the size of a window, which may be any size that fits
// the display) is added at the end.
std::vector<std::string> videoModes(const std::string& renderer, const std::vector<std::string>& values,
                                    const std::string& kept = "");

// The render system's option that holds anti-aliasing; empty when it has none.
std::string antiAliasingOption(const std::string& renderer);
}
