// The media builder's registry: every generator file registers one function that writes
// its part of the binary media below the media folder it is given.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct MediaGenerator
{
    std::string name;                                        // shown in the build log
    std::function<void(const std::string& mediaDir)> build;  // throws std::runtime_error on failure
};

// Generators in the order they registered; they must not depend on each other's output.
std::vector<MediaGenerator>& mediaGenerators();

// Registers a generator from a file-scope object: static RegisterMedia r{"name", fn};
struct RegisterMedia
{
    RegisterMedia(const std::string& name, std::function<void(const std::string&)> build);
};
