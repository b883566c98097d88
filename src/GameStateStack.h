// The stack of game states: push over the top, change the top, pop back. The last
// element is the top; the stack never owns its states.
#pragma once

#include <vector>

class GameState;

class GameStateStack
{
public:
    // Pauses the old top, then enters the new one.
    void push(GameState* state);
    // Exits and removes the old top, then enters the new one.
    void change(GameState* state);
    // Exits and removes the top, then resumes the one below.
    void pop();
    // Exits and removes every state, top first, resuming none (shutdown and restart).
    void clear();

    GameState* top() const { return states.empty() ? nullptr : states.back(); }
    bool empty() const { return states.empty(); }

private:
    std::vector<GameState*> states;
};
