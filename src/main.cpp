// Quillmor's entry point: start the game, report what stopped it, shut down.
#include "GameManager.h"
#include "RunGame.h"

int main()
{
    return runGame(*GameManager::getInstance());
}
