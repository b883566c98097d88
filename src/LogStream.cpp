// The debug log of the per-user folder.
#include "LogStream.h"

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
