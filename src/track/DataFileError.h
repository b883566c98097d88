// The error every data-file reader throws: which file, the reader's own message and
// what exactly is wrong in it.
#pragma once

#include <stdexcept>
#include <string>

class DataFileError : public std::runtime_error
{
public:
    // message is the reader's text ("Unable to read map!"), problem the detail.
    DataFileError(const std::string& file, const std::string& message, const std::string& problem);

    const std::string& getFile() const { return file; }
    const std::string& getMessage() const { return message; }
    const std::string& getProblem() const { return problem; }

private:
    std::string file;
    std::string message;
    std::string problem;
};
