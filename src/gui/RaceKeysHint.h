// The level menu's line on how to drive, named from the player's own bindings: a new player
// otherwise meets the race without a word on its keys.
#pragma once

#include <string>

class GameConfiguration;
namespace OIS
{
class Keyboard;
}

namespace RaceKeysHint
{
// The keys of the race in one sentence; keyboard names the key codes (without one, their
// numbers).
std::string text(const GameConfiguration& config, OIS::Keyboard* keyboard);
}
