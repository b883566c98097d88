// Data-file errors: "<message> <file>: <problem>".
#include "track/DataFileError.h"

DataFileError::DataFileError(const std::string& file, const std::string& message, const std::string& problem)
    : std::runtime_error(message + " " + file + ": " + problem), file(file), message(message), problem(problem)
{
}
