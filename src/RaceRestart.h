// Puts the race back to its start: the rules reset the race and the car, one fixed second
// of physics lets the car settle at the start (even while a menu has the physics paused,
// which stays paused), then the countdown begins. When the rules refuse (a countdown is
// already running) nothing else happens.
#pragma once

#include <functional>

class PhysicBase;

namespace RaceRestart
{
// rulesRestart returns false when the rules refuse; startRace starts the countdown.
// Returns whether the race was restarted.
bool run(PhysicBase& physics, const std::function<bool()>& rulesRestart, const std::function<void()>& startRace);
}
