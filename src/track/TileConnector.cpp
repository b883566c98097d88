// Lines of placed tiles.
#include "track/TileConnector.h"

void TileConnector::setDirection(int32_t newDirection)
{
    nodeIds.clear();
    direction = newDirection;
}

void TileConnector::rotate(int quarterTurns)
{
    direction = (((direction + quarterTurns) % 4) + 4) % 4;
}

void TileConnector::addNode(int32_t id)
{
    nodeIds.push_back(id);
}

int32_t TileConnector::getNode(size_t index) const
{
    return index < nodeIds.size() ? nodeIds[index] : -1;
}
