// Feeds one source from an open sound file through a queue of buffers, keeping more
// than a second of sound queued so a long frame (loading) does not starve it.
#pragma once

#include "AudioDecoder.h"

#include <memory>
#include <string>
#include <vector>

class AudioContext;

class AudioStream
{
public:
    static constexpr int kBufferCount = 6;
    static constexpr float kBufferSeconds = 0.25f;  // 1.5 s queued in all

    // Opens the file; null with the reason in error when it can't be read.
    static std::unique_ptr<AudioStream> open(const std::shared_ptr<AudioContext>& context, const std::string& path,
                                             bool loop, std::string* error);
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    // Fills and queues every buffer on the source before it starts.
    void start(unsigned source);
    // Refills the buffers the source has played and restarts a source that ran dry.
    void pump(unsigned source, bool paused);
    // True once the file has ended (never for a loop) and the source has played it all.
    bool finished(unsigned source) const;
    // Takes the buffers back from the stopped source.
    void detach(unsigned source);

private:
    AudioStream() = default;
    // Decodes the next piece into a buffer; false when there is nothing left.
    bool fill(unsigned buffer);

    std::shared_ptr<AudioContext> context;
    AudioDecoder decoder;
    bool loop = false;
    bool ended = false;
    int outputChannels = 1;
    std::vector<unsigned> buffers;
    std::vector<short> scratch;
};
