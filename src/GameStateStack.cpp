// The stack of game states.
#include "GameStateStack.h"

#include "GameState.h"

void GameStateStack::push(GameState* state)
{
    if (!states.empty())
        states.back()->pause();
    states.push_back(state);
    state->enter();
}

void GameStateStack::change(GameState* state)
{
    if (!states.empty())
    {
        states.back()->exit();
        states.pop_back();
    }
    states.push_back(state);
    state->enter();
}

void GameStateStack::pop()
{
    if (states.empty())
        return;
    states.back()->exit();
    states.pop_back();
    if (!states.empty())
        states.back()->resume();
}

void GameStateStack::clear()
{
    while (!states.empty())
    {
        states.back()->exit();
        states.pop_back();
    }
}
