// The shapes one body is made of; the group owns them.
#pragma once

#include "platform/physics/shape.h"

#include <memory>
#include <vector>

namespace nxOgre
{

class shapeGroup
{
public:
    void add(std::unique_ptr<shape> member) { members.push_back(std::move(member)); }
    const std::vector<std::unique_ptr<shape>>& getShapes() const { return members; }
    bool empty() const { return members.empty(); }

private:
    std::vector<std::unique_ptr<shape>> members;
};

}
