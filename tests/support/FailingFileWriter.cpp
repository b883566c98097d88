// File operations that fail on cue.
#include "FailingFileWriter.h"

void FailingFileWriter::failAt(Operation operation, int call)
{
    failing = operation;
    failingCall = call;
    calls = 0;
}

bool FailingFileWriter::mayGoOn(Operation operation, std::string& error)
{
    if (operation != failing || failingCall == 0 || ++calls != failingCall)
        return true;
    error = kFailure;
    return false;
}

bool FailingFileWriter::writeTemporary(const std::string& path, const std::string& content, std::string& temporary,
                                       std::string& error)
{
    return mayGoOn(kWriteTemporary, error) && FileWriter::writeTemporary(path, content, temporary, error);
}

bool FailingFileWriter::keepCopy(const std::string& path, std::string& copy, std::string& error)
{
    return mayGoOn(kKeepCopy, error) && FileWriter::keepCopy(path, copy, error);
}

bool FailingFileWriter::replace(const std::string& from, const std::string& to, std::string& error)
{
    return mayGoOn(kReplace, error) && FileWriter::replace(from, to, error);
}
