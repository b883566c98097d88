// Fuzz helpers: the readers take paths, so each input goes to a scratch file first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A scratch folder of this process (created once) ending in "/".
const std::string& fuzzFolder();
// Writes the input to fuzzFolder() + name and returns the path.
std::string writeFuzzInput(const std::string& name, const uint8_t* data, size_t size);
