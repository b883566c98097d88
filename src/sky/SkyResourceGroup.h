// The resource group of the sky's meshes, materials, programs and gradient pictures: one
// name for the whole process, "Sky" unless the sky system is built with another.
#pragma once

#include <string>

namespace sky
{
const std::string& getSkyResourceGroupName();
void setSkyResourceGroupName(const std::string& name);
}
