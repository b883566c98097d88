// Writes a file whole or not at all: the bytes go to a temporary file in the same folder,
// which is flushed and then renamed over the target. A failure leaves the old file as it was.
#pragma once

#include <string>

// True on success; on failure false, with the reason (naming the file) in *error when given.
bool writeFileAtomically(const std::string& path, const std::string& content, std::string* error = nullptr);
