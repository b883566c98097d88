// The resource group of what only a race uses (its screen effects, whose shaders compile as
// their scripts are parsed): made ready when the first race loads, so the start doesn't wait.
#pragma once

namespace RaceResourceGroup
{
extern const char* const kName;

// Parses the group's scripts unless done already; nothing when the resource list has no such group.
void prepare();
}
