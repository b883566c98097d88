// Files the game reads or writes must be regular files: a folder, a device such as "/dev/zero"
// or a FIFO in their place would hang the reader or make it ask for all the memory there is.
// Everything here finds that out from the file's status alone, before anything opens it.
#pragma once

#include <cstddef>
#include <string>

// Empty when a regular file stands at path (links followed); otherwise why the game won't open
// it: "a folder, not a file", "not a regular file" or the system's text ("No such file...").
std::string regularFileProblem(const std::string& path);
bool isRegularFile(const std::string& path);
// True when nothing stands at path yet, or a regular file: a file the game may write, or one
// it may look for without fault when there is none. Otherwise false, with the reason (without
// the path) in *problem when given.
bool isAbsentOrRegularFile(const std::string& path, std::string* problem = nullptr);

// False, with the reason in problem ("not a regular file", "larger than N bytes", the
// system's text), when the file can't be read whole; problem does not repeat the path.
bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& content, std::string& problem);
