// Where the states and scenes find the manager. Kept with the frame, apart from the manager's
// definition at the top, so that a program using only a scene links without the whole game.
#include "GameManager.h"

GameManager* GameManager::current = nullptr;

GameManager* GameManager::getInstance()
{
    return current;
}
