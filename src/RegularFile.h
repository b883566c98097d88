// Reading a whole file the game was told to read, refusing at once anything that is not a
// regular file of sane size: a folder, a device such as "/dev/zero" or a FIFO would otherwise
// hang the reader or make it ask for all the memory there is.
#pragma once

#include <cstddef>
#include <string>

// False, with the reason in problem ("not a regular file", "larger than N bytes", the
// system's text), when the file can't be read whole; problem does not repeat the path.
bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& content, std::string& problem);
