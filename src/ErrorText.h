// The text of the exception being handled, whatever was thrown: the data readers', the
// engine's and the GUI library's exceptions, a thrown text, or something else.
#pragma once

#include <string>

enum class ErrorDetail
{
    Message,     // what went wrong, for the player
    WithSource,  // the engine's exceptions also name their function, file and line, for the log
};

// Call only while an exception is being handled (in a catch block).
std::string currentErrorText(ErrorDetail detail = ErrorDetail::Message);
