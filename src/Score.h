// One run: its total time, the times at its checkpoints, and the driver's name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Score
{
public:
    static constexpr std::size_t kMaxNameLength = 24;  // characters a player may enter

    void setTotal(std::uint32_t milliseconds, const std::string& text);
    std::uint32_t getTotalTime() const { return totalMs; }
    const std::string& getTotalText() const { return totalText; }
    void addCheckPoint(std::int32_t milliseconds, const std::string& text);
    std::size_t getCheckPointCount() const { return checkPointMs.size(); }
    // 0 and "" for an index past the checkpoints.
    std::int32_t getCheckPointTime(std::size_t index) const;
    std::string getCheckPointText(std::size_t index) const;
    // Kept to its first kMaxNameLength characters.
    void setName(const std::string& name);
    const std::string& getName() const { return name; }

    template <class Archive>
    void save(Archive& archive) const;
    template <class Archive>
    void load(Archive& archive, std::size_t budgetBytes);

    bool operator==(const Score& other) const;

private:
    std::uint32_t totalMs = 0;
    std::string totalText;
    std::vector<std::int32_t> checkPointMs;
    std::vector<std::string> checkPointTexts;
    std::string name;
};
