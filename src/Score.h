// One run: its total time, the times at its checkpoints, and the driver's name.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace boost::serialization
{
class access;
}

class Score
{
public:
    static constexpr std::size_t kMaxNameLength = 24;  // characters a player may enter

    void setTotal(unsigned long milliseconds, const std::string& text);
    unsigned long getTotalTime() const { return totalMs; }
    const std::string& getTotalText() const { return totalText; }
    void addCheckPoint(long milliseconds, const std::string& text);
    std::size_t getCheckPointCount() const { return checkPointMs.size(); }
    // 0 and "" for an index past the checkpoints.
    long getCheckPointTime(std::size_t index) const;
    std::string getCheckPointText(std::size_t index) const;
    // Kept to its first kMaxNameLength characters, whole ones.
    void setName(const std::string& name);
    const std::string& getName() const { return name; }

    // What makes a run read from a file unusable ("" when nothing does): checkpoint times
    // without their texts, or a text that is not UTF-8 (the engine and the GUI can't show it).
    std::string problem() const;

    bool operator==(const Score& other) const;

private:
    friend class boost::serialization::access;
    // The table file's form of a run: these fields in this order, as boost writes each type.
    template <class Archive>
    void serialize(Archive& archive, unsigned version);

    unsigned long totalMs = 0;
    std::string totalText;
    std::vector<long> checkPointMs;
    std::vector<std::string> checkPointTexts;
    std::string name;
};
