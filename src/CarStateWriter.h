// A recorded run: frames of named values (the car's position, orientation and wheels at
// each sample) with file-level attributes, saved as the track's ghost file.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace boost::serialization
{
class access;
}

class CarStateWriter
{
public:
    using Frame = std::map<std::string, float>;

    unsigned getFrameCount() const { return static_cast<unsigned>(frames.size()); }
    // Null without frames; an index past the end gives the last frame.
    const Frame* getFrame(unsigned index) const;
    // The frame at the cursor, then the cursor moves on (the last frame repeats).
    const Frame* nextFrame();
    void rewind() { cursor = 0; }
    void addFrame(const Frame& frame) { frames.push_back(frame); }

    // Absent keys give 0, 0.0 or "".
    int getInt(const std::string& key) const;
    float getFloat(const std::string& key) const;
    std::string getString(const std::string& key) const;
    void setInt(const std::string& key, int value) { ints[key] = value; }
    void setFloat(const std::string& key, float value) { floats[key] = value; }
    void setString(const std::string& key, const std::string& value) { strings[key] = value; }
    // Whether any attribute (not a frame value) has the key.
    bool hasKey(const std::string& key) const;

    // Writes the recording whole or not at all; false with the reason (naming the file).
    bool save(const std::string& path, std::string* error = nullptr) const;
    // Replaces this recording by the file's; a damaged file changes nothing and gives false
    // with the reason. The cursor is back at 0 either way.
    bool load(const std::string& path, std::string* error = nullptr);
    // The ghost file's bytes: a boost.serialization binary archive holding this recording
    // through a pointer.
    std::string toArchive() const;

private:
    friend class boost::serialization::access;
    // The file's form: the three attribute maps, then the frames; the cursor is not stored.
    template <class Archive>
    void serialize(Archive& archive, unsigned version);

    std::vector<Frame> frames;
    std::map<std::string, std::string> strings;
    std::map<std::string, int> ints;
    std::map<std::string, float> floats;
    unsigned cursor = 0;
};
