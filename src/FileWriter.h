// The file operations a whole-or-nothing write is made of, on the real file system. Tests
// derive from it to make one of them fail.
#pragma once

#include <string>

class FileWriter
{
public:
    virtual ~FileWriter() = default;

    // Writes the bytes to a new temporary file beside path ("<path>.tmp-XXXXXX", see AtomicFile.h) and flushes it
    // to the disk; its name in temporary. False with the reason, leaving no file behind.
    virtual bool writeTemporary(const std::string& path, const std::string& content, std::string& temporary,
                                std::string& error);
    // A second name beside path for the file there now, so that it can be put back; "" when
    // there is no file.
    virtual bool keepCopy(const std::string& path, std::string& copy, std::string& error);
    // Renames from over to, in one step.
    virtual bool replace(const std::string& from, const std::string& to, std::string& error);
    // Removes the file if it is there.
    virtual void remove(const std::string& path);

    // The one that touches the disk and nothing else.
    static FileWriter& system();
};
