// The sky's resource-group name.
#include "sky/SkyResourceGroup.h"

namespace sky
{
namespace
{
std::string& groupName()
{
    static std::string name = "Sky";
    return name;
}
}

const std::string& getSkyResourceGroupName()
{
    return groupName();
}

void setSkyResourceGroupName(const std::string& name)
{
    groupName() = name;
}
}
