// Capture of stderr into a temporary file.
#include "StderrCapture.h"

#include <unistd.h>

StderrCapture::StderrCapture()
{
    std::fflush(stderr);
    sink = std::tmpfile();
    if (!sink)
        return;
    savedStderr = dup(STDERR_FILENO);
    if (savedStderr < 0 || dup2(fileno(sink), STDERR_FILENO) < 0)
    {
        if (savedStderr >= 0)
            close(savedStderr);
        savedStderr = -1;
        std::fclose(sink);
        sink = nullptr;
    }
}

StderrCapture::~StderrCapture()
{
    finish();
}

std::string StderrCapture::finish()
{
    if (!sink)
        return {};
    std::fflush(stderr);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    savedStderr = -1;

    std::string text;
    std::rewind(sink);
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, sink)) > 0)
        text.append(chunk, got);
    std::fclose(sink);
    sink = nullptr;
    return text;
}
