// Where the physics layer writes what it has to say: a text file, one line per message,
// or nowhere when no file is named.
#pragma once

#include <fstream>
#include <string>

namespace nxOgre
{

class PhysicsLog
{
public:
    // An empty path keeps the log silent; a file that can't be opened too (the physics
    // must run without its log).
    explicit PhysicsLog(const std::string& path);
    virtual ~PhysicsLog() = default;

    virtual void write(const std::string& line);
    bool isOpen() const { return file.is_open(); }

private:
    std::ofstream file;
};

}
