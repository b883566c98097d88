// The part of a texture a property map reads, and how the map is sampled.
#pragma once

enum MapChannel
{
    CHANNEL_RED = 0,
    CHANNEL_GREEN = 1,
    CHANNEL_BLUE = 2,
    CHANNEL_ALPHA = 3,
    CHANNEL_COLOR = 4  // the whole colour; luminance for a density map
};

enum MapFilter
{
    MAPFILTER_NONE = 0,     // nearest texel
    MAPFILTER_BILINEAR = 1
};
