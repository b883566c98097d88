// Holds back what the audio drivers print on the terminal while a device is opened (ALSA and
// OpenAL write their complaints straight to stderr), so the game can put it in its log instead.
#pragma once

#include <cstdio>
#include <string>

class StderrCapture
{
public:
    // Redirects stderr until finish() or destruction; when the redirection cannot be set up,
    // stderr is left alone and nothing is captured.
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Restores stderr and returns what was written meanwhile (empty after the first call).
    std::string finish();

private:
    std::FILE* sink = nullptr;
    int savedStderr = -1;
};
