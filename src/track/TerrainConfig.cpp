// Terrain file parsing.
#include "track/TerrainConfig.h"

#include "track/DataFileError.h"

#include <cstdlib>
#include <map>
#include <sstream>

namespace
{
constexpr const char* kCustomMaterialKey = "CustomMaterialName";

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The file's settings; the last of a repeated key counts.
std::map<std::string, std::string> readSettings(const std::string& text, const std::string& fileName)
{
    std::map<std::string, std::string> settings;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
    {
        line = trimmed(line);
        if (line.empty() || line[0] == '#')
            continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos)
            throw DataFileError(fileName, TerrainConfig::kReadError,
                                "line " + std::to_string(number) + " is not key=value: '" + line + "'");
        settings[trimmed(line.substr(0, equals))] = trimmed(line.substr(equals + 1));
    }
    return settings;
}

class SettingReader
{
public:
    SettingReader(const std::map<std::string, std::string>& settings, const std::string& fileName)
        : settings(settings), fileName(fileName)
    {
    }

    const std::string* find(const std::string& key) const
    {
        const auto it = settings.find(key);
        return it == settings.end() ? nullptr : &it->second;
    }
    std::string text(const std::string& key, const std::string& fallback = "") const
    {
        const std::string* value = find(key);
        return value ? *value : fallback;
    }
    std::string required(const std::string& key) const
    {
        const std::string* value = find(key);
        if (!value || value->empty())
            fail(key, "is missing");
        return *value;
    }
    unsigned sampleCount(const std::string& key, unsigned largest) const
    {
        const std::string value = required(key);
        char* end = nullptr;
        const unsigned long count = std::strtoul(value.c_str(), &end, 10);
        if (*end != '\0' || count > largest || !TerrainConfig::isPowerOfTwoPlusOne(static_cast<unsigned>(count)))
            fail(key, "'" + value + "' is not 2^k + 1 samples (3 to " + std::to_string(largest) + ")");
        return static_cast<unsigned>(count);
    }
    float positive(const std::string& key, float fallback) const
    {
        const std::string* value = find(key);
        if (!value)
            return fallback;
        char* end = nullptr;
        const float number = std::strtof(value->c_str(), &end);
        if (value->empty() || *end != '\0' || !(number > 0.0f))
            fail(key, "'" + *value + "' is not a positive number");
        return number;
    }
    [[noreturn]] void fail(const std::string& key, const std::string& problem) const
    {
        throw DataFileError(fileName, TerrainConfig::kReadError, key + " " + problem);
    }

private:
    const std::map<std::string, std::string>& settings;
    const std::string& fileName;
};
}

namespace TerrainConfig
{
bool isPowerOfTwoPlusOne(unsigned value)
{
    const unsigned quads = value - 1;
    return value >= 3 && (quads & (quads - 1)) == 0;
}

TerrainOptions parse(const std::string& text, const std::string& fileName)
{
    constexpr float kDefaultPageWorld = 1000.0f;  // world units along an edge
    constexpr float kDefaultMaxHeight = 100.0f;   // world units

    const auto settings = readSettings(text, fileName);
    const SettingReader reader(settings, fileName);
    TerrainOptions options;
    options.pageSize = reader.sampleCount("PageSize", kLargestPageSize);
    if (reader.find("TileSize"))
        options.tileSize = reader.sampleCount("TileSize", options.pageSize);
    else if (options.tileSize > options.pageSize)
        options.tileSize = options.pageSize;
    options.heightmapImage = reader.required("Heightmap.image");
    const float quads = static_cast<float>(options.pageSize - 1);
    options.scale.x = reader.positive("PageWorldX", kDefaultPageWorld) / quads;
    options.scale.z = reader.positive("PageWorldZ", kDefaultPageWorld) / quads;
    options.scale.y = reader.positive("MaxHeight", kDefaultMaxHeight);
    options.worldTexture = reader.text("WorldTexture");
    options.detailTexture = reader.text("DetailTexture");
    options.detailTile = reader.positive("DetailTile", 1.0f);
    options.customMaterialName = reader.text(kCustomMaterialKey);
    return options;
}

std::string withCustomMaterial(const std::string& text, const std::string& materialName)
{
    std::string result;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        line = trimmed(line);
        const size_t key = line.find(kCustomMaterialKey);
        if (key != std::string::npos)
            line = line.substr(0, key) + kCustomMaterialKey + "=" + materialName;
        result += line + "\n";
    }
    return result;
}
}
