// The game-state interface's one shared operation.
#include "GameState.h"

#include "GameManager.h"

void GameState::changeState(GameManager* manager, GameState* state)
{
    manager->changeState(state);
}
