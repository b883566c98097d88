// The game's sounds and music, synthesised from fixed seeds into "sounds/" and "music/":
// countdown beeps, the engine loops the car file maps onto rpm, skid, terrain roll, crash
// and touch sounds (mono, for 3D), the looping menu theme and the race tracks.
#include "MediaGenerator.h"
#include "SoundSynth.h"

#include <sys/stat.h>

#include <cmath>

using namespace synth;

namespace
{
constexpr float kTwoPi = 2.0f * static_cast<float>(M_PI);
constexpr float kPeak = 0.8f;

void makeFolder(const std::string& path)
{
    mkdir(path.c_str(), 0755);
}

// A beep with soft edges so it does not click.
Track beep(double frequencyHz, double seconds)
{
    Track track(seconds, 1, false);
    const long frames = static_cast<long>(track.frames());
    const long edge = kRateHz / 200;  // 5 ms
    for (long i = 0; i < frames; ++i)
    {
        const float t = float(i) / kRateHz;
        const float envelope = std::min({1.0f, float(i) / edge, float(frames - 1 - i) / edge});
        const float tone = std::sin(kTwoPi * frequencyHz * t) + 0.3f * std::sin(kTwoPi * 2.0f * frequencyHz * t);
        track.add(i, envelope * tone);
    }
    track.normalise(kPeak);
    return track;
}

// An engine at rpm: a four-cylinder four-stroke fires twice per turn. One second of whole
// firing periods, with a rough pulse per firing, so the loop joins cleanly.
Track engine(double rpm, uint32_t seed)
{
    Track track(1.0, 1, true);
    const size_t frames = track.frames();
    const double firingHz = wholePeriodsHz(rpm / 60.0 * 2.0, frames);
    const long period = long(std::lround(kRateHz / firingHz));
    Noise noise(seed);
    std::vector<float> rough(frames);
    for (float& s : rough)
        s = noise.next();
    lowPassLoop(rough, static_cast<float>(firingHz * 6.0));
    for (size_t i = 0; i < frames; ++i)
    {
        const float phase = static_cast<float>(std::fmod(i * firingHz / kRateHz, 1.0));
        const float t = float(i) / kRateHz;
        float tone = 0.0f;
        for (int harmonic = 1; harmonic <= 6; ++harmonic)
            tone += std::sin(kTwoPi * float(firingHz) * harmonic * t) / float(harmonic);
        // Half-order rumble: one cylinder a little stronger than the others.
        tone += 0.3f * std::sin(kTwoPi * float(firingHz) * 0.5f * t);
        const float pulse = std::exp(-6.0f * phase);
        track.add(long(i), 0.7f * tone + 2.5f * pulse * rough[i]);
    }
    (void)period;
    track.normalise(kPeak * 0.9f);
    return track;
}

// Filtered noise loops: tyres on tarmac or gravel.
Track noiseLoop(double seconds, float cutoffHz, uint32_t seed, double squealHz, float squeal)
{
    Track track(seconds, 1, true);
    Noise noise(seed);
    std::vector<float> body(track.frames());
    for (float& s : body)
        s = noise.next();
    lowPassLoop(body, cutoffHz);
    const double toneHz = wholePeriodsHz(squealHz, track.frames());
    const double wobbleHz = wholePeriodsHz(3.0, track.frames());
    for (size_t i = 0; i < body.size(); ++i)
    {
        const float t = float(i) / kRateHz;
        const float wobble = 1.0f + 0.4f * std::sin(kTwoPi * float(wobbleHz) * t);
        track.add(long(i), body[i] + squeal * wobble * std::sin(kTwoPi * float(toneHz) * t));
    }
    track.normalise(kPeak);
    return track;
}

// A hit: a falling thump and a burst of noise, decaying.
Track impact(double seconds, double thumpHz, float noiseShare, uint32_t seed)
{
    Track track(seconds, 1, false);
    Noise noise(seed);
    std::vector<float> burst(track.frames());
    for (float& s : burst)
        s = noise.next();
    lowPassLoop(burst, 3000.0f);
    float phase = 0.0f;
    for (size_t i = 0; i < burst.size(); ++i)
    {
        const float t = float(i) / kRateHz;
        const float decay = std::exp(-t * 6.0f / float(seconds));
        phase += kTwoPi * float(thumpHz) * (1.0f - 0.5f * t / float(seconds)) / kRateHz;
        const float attack = std::min(1.0f, t * 2000.0f);
        track.add(long(i), attack * decay * ((1.0f - noiseShare) * std::sin(phase) + noiseShare * burst[i]));
    }
    track.normalise(kPeak);
    return track;
}

// A note with a pluck or pad envelope, added to the track.
void note(Track& track, double startSeconds, double seconds, double hz, float level, float pan, bool pad)
{
    const long first = long(startSeconds * kRateHz);
    const long release = kRateHz / 10;
    const long length = long(seconds * kRateHz) + release;
    for (long i = 0; i < length; ++i)
    {
        const float t = float(i) / kRateHz;
        float envelope = pad ? std::min(1.0f, t / 0.3f) : std::exp(-t * 5.0f) * std::min(1.0f, t * 400.0f);
        if (i > length - release)
            envelope *= float(length - i) / release;
        const float wave = std::sin(kTwoPi * float(hz) * t) + 0.25f * std::sin(kTwoPi * 2.0f * float(hz) * t) +
                           (pad ? 0.15f * std::sin(kTwoPi * 1.004f * float(hz) * t) : 0.0f);
        track.add(first + i, level * envelope * wave, pan);
    }
}

void drum(Track& track, double startSeconds, int kind, Noise& noise)
{
    const long first = long(startSeconds * kRateHz);
    const long length = kind == 0 ? kRateHz / 5 : kRateHz / (kind == 1 ? 8 : 30);
    float phase = 0.0f;
    for (long i = 0; i < length; ++i)
    {
        const float t = float(i) / kRateHz;
        if (kind == 0)  // kick: a falling sine
        {
            phase += kTwoPi * (50.0f + 90.0f * std::exp(-t * 30.0f)) / kRateHz;
            track.add(first + i, 0.9f * std::exp(-t * 12.0f) * std::sin(phase));
        }
        else  // snare and hat: noise
        {
            const float level = kind == 1 ? 0.35f : 0.12f;
            track.add(first + i, level * std::exp(-t * (kind == 1 ? 25.0f : 90.0f)) * noise.next(),
                      kind == 1 ? -0.1f : 0.3f);
        }
    }
}

struct Piece
{
    int rootNote;                  // MIDI note of the key
    double beatsPerMinute;
    std::vector<int> progression;  // chord roots in scale steps, one per bar
    int bars;
    uint32_t seed;
    bool drums;
};

// Bars of four beats: a pad chord per bar, a bass line, an arpeggio picked by the seed, drums.
Track music(const Piece& piece, bool loop)
{
    static const int kMinorScale[] = {0, 2, 3, 5, 7, 8, 10};
    const double beat = 60.0 / piece.beatsPerMinute;
    Track track(piece.bars * 4 * beat, 2, loop);
    Noise noise(piece.seed);
    auto scaleNote = [&](int step) {
        const int octave = step >= 0 ? step / 7 : (step - 6) / 7;
        return piece.rootNote + 12 * octave + kMinorScale[step - 7 * octave];
    };
    for (int bar = 0; bar < piece.bars; ++bar)
    {
        const int chord = piece.progression[size_t(bar) % piece.progression.size()];
        const double barStart = bar * 4 * beat;
        for (int voice = 0; voice < 3; ++voice)
            note(track, barStart, 4 * beat - 0.1, noteHz(scaleNote(chord + 2 * voice)), 0.12f, voice - 1.0f, true);
        for (int b = 0; b < 4; ++b)
            note(track, barStart + b * beat, beat * 0.8, noteHz(scaleNote(chord) - 24 + (b == 2 ? 12 : 0)), 0.35f,
                 0.0f, false);
        for (int eighth = 0; eighth < 8; ++eighth)
        {
            if (noise.below(5) == 0)
                continue;  // a rest now and then
            const int step = chord + 2 * noise.below(3) + 7 * noise.below(2);
            note(track, barStart + eighth * beat / 2, beat / 2, noteHz(scaleNote(step) + 12), 0.16f,
                 0.4f * noise.next(), false);
        }
        if (!piece.drums)
            continue;
        for (int b = 0; b < 4; ++b)
        {
            drum(track, barStart + b * beat, b % 2 == 0 ? 0 : 1, noise);
            drum(track, barStart + b * beat + beat / 2, 2, noise);
        }
    }
    track.normalise(kPeak);
    if (!loop)
        track.fadeEnds(1.0);
    return track;
}

void buildGameSounds(const std::string& mediaDir)
{
    const std::string sounds = mediaDir + "sounds/";
    const std::string tracks = mediaDir + "music/";
    makeFolder(sounds);
    makeFolder(tracks);

    writeOgg(sounds + "countdown_beep1.ogg", beep(880.0, 0.25));
    writeOgg(sounds + "countdown_beep2.ogg", beep(1760.0, 0.6));

    // Engine loops named by the rpm they were made at, for the car file's pitch lines.
    const struct
    {
        const char* name;
        double rpm;
    } engines[] = {{"engine_0900.ogg", 900}, {"engine_2500.ogg", 2500}, {"engine_4500.ogg", 4500},
                   {"engine_6500.ogg", 6500}};
    uint32_t seed = 11;
    for (const auto& e : engines)
        writeOgg(sounds + e.name, engine(e.rpm, seed++));

    writeOgg(sounds + "skid.ogg", noiseLoop(1.0, 2500.0f, 21, 1100.0, 0.35f));
    writeOgg(sounds + "terrain_roll.ogg", noiseLoop(1.0, 250.0f, 22, 60.0, 0.0f));
    writeOgg(sounds + "touch.ogg", noiseLoop(0.5, 5000.0f, 23, 2300.0, 0.15f));
    writeOgg(sounds + "crash.ogg", impact(0.9, 70.0, 0.6f, 24));
    writeOgg(sounds + "crash_light.ogg", impact(0.3, 110.0, 0.4f, 25));

    writeOgg(sounds + "menu_theme.ogg", music({57, 96.0, {0, 5, 3, 4}, 8, 31, false}, true));
    writeOgg(tracks + "race_01.ogg", music({52, 138.0, {0, 0, 5, 6, 3, 3, 4, 4}, 48, 41, true}, false));
    writeOgg(tracks + "race_02.ogg", music({55, 126.0, {0, 3, 5, 4}, 40, 42, true}, false));
    writeOgg(tracks + "race_03.ogg", music({50, 150.0, {0, 6, 5, 6}, 56, 43, true}, false));
}

RegisterMedia registerGameSounds{"game sounds", buildGameSounds};
}
