// The debug log of the per-user folder.
#include "LogStream.h"

#include "RegularFile.h"

LogStream* LogStream::instance = nullptr;

LogStream* LogStream::getInstance()
{
    if (!instance)
        instance = new LogStream();
    return instance;
}

void LogStream::destroy()
{
    delete instance;
    instance = nullptr;
}

bool LogStream::open(const std::string& path)
{
    const bool reopening = (path == openedPath);
    if (stream.is_open())
        stream.close();
    stream.clear();
    // A FIFO or device in the log's place would block here or swallow the log: none then.
    if (!isAbsentOrRegularFile(path))
        return false;
    stream.open(path, reopening ? std::ios::app : std::ios::trunc);
    if (!stream.is_open())
        return false;
    openedPath = path;
    stream.precision(3);
    return true;
}

std::ostream& LogStream::getStream()
{
    return stream;
}

LogStream::~LogStream()
{
    if (stream.is_open())
        stream.close();
}

std::ostream& debugLog()
{
    return LogStream::getInstance()->getStream();
}
