// Runs the game's start routine to its end, prints what stopped it, and shuts down.
#pragma once

class GameManager;

// The process exit status: 0 when the game ended normally, 1 when an error stopped it.
int runGame(GameManager& manager);
