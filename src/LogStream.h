// The debug log "logs/debug.txt" of the per-user folder: one stream for the whole run,
// written with stream operators from anywhere in the game.
#pragma once

#include <fstream>
#include <string>

class LogStream
{
public:
    // The single instance, made on first use with no file attached.
    static LogStream* getInstance();
    // Closes and deletes the instance; the next getInstance makes a fresh one.
    static void destroy();

    // Opens the log file. The first open in a run truncates; opening the same file again
    // (after an engine restart) appends, so the earlier run's lines survive.
    bool open(const std::string& path);
    std::ostream& getStream();

    ~LogStream();

private:
    LogStream() = default;

    std::ofstream stream;
    std::string openedPath;  // the last file this run opened, empty before the first
    static LogStream* instance;
};

// Shorthand for LogStream::getInstance()->getStream().
std::ostream& debugLog();
