// Writes files whole or not at all: the bytes go to a temporary file in the same folder,
// which is flushed and then renamed over the target. A failure leaves the old file as it was.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

// True on success; on failure false, with the reason (naming the file) in *error when given.
// Refuses a target that is not a regular file (a folder, a FIFO, a device) without touching it.
bool writeFileAtomically(const std::string& path, const std::string& content, std::string* error = nullptr);
// One whole-file write, as writeFileAtomically does it: what a caller takes in its place where a
// test makes some writes fail on purpose.
using WholeFileWriter = std::function<bool(const std::string& path, const std::string& content, std::string& error)>;
WholeFileWriter wholeFileWriter();

// The temporaries are named path + ".tmp-" + six letters or digits, a name no file of the
// game or of a player has, so one left by a writer that died midway can be removed on sight.
extern const char* const kTemporaryInfix;   // ".tmp-"
constexpr std::size_t kTemporaryTagLength = 6;
// The six characters after the infix when fileName (no folder) is such a temporary, else "".
std::string temporaryTag(const std::string& fileName);
// Makes and opens a new temporary for path (mode 0644 less the umask); -1 on failure with errno
// set. temporary receives its path.
int createTemporaryFor(const std::string& path, std::string& temporary);
// Removes the temporaries that killed writers left in folder (ending in "/"); returns how many.
int removeStaleTemporaries(const std::string& folder);
