// What the test scenes under tools/ read off the process and the engine's log.
#pragma once

#include <string>

// The process's resident memory in kB; 0 where /proc cannot tell.
long residentKb();

// Whether the engine's log holds an error or exception; each such line is printed.
bool logHasErrors(const std::string& logFile);
