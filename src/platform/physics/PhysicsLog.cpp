// The physics layer's log file.
#include "platform/physics/PhysicsLog.h"

namespace nxOgre
{

PhysicsLog::PhysicsLog(const std::string& path)
{
    if (!path.empty())
        file.open(path, std::ios::out | std::ios::trunc);
}

void PhysicsLog::write(const std::string& line)
{
    if (file.is_open())
        file << line << std::endl;  // flushed: the log matters most when something goes wrong
}

}
