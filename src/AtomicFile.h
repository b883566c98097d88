// Writes files whole or not at all: the bytes go to a temporary file in the same folder,
// which is flushed and then renamed over the target. A failure leaves the old file as it was.
#pragma once

#include "FileWriter.h"

#include <string>
#include <vector>

struct FileContent
{
    std::string path;
    std::string content;
};

// True on success; on failure false, with the reason (naming the file) in *error when given.
bool writeFileAtomically(const std::string& path, const std::string& content, std::string* error = nullptr);

// Files that belong together, written as one: either every one is replaced, or none is and
// the old ones stay as they were (nor is any temporary file left behind).
bool writeFilesAtomically(const std::vector<FileContent>& files, std::string* error = nullptr,
                          FileWriter& writer = FileWriter::system());
