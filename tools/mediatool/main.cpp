// Media builder entry: runs every registered generator into the media folder given on the
// command line. Generators use fixed seeds, so the same sources give the same bytes.
#include "MediaGenerator.h"

#include <exception>
#include <iostream>

std::vector<MediaGenerator>& mediaGenerators()
{
    static std::vector<MediaGenerator> generators;
    return generators;
}

RegisterMedia::RegisterMedia(const std::string& name, std::function<void(const std::string&)> build)
{
    mediaGenerators().push_back({name, std::move(build)});
}

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: quillmor_mediatool <media folder>\n";
        return 2;
    }
    const std::string mediaDir = std::string(argv[1]) + "/";
    for (const auto& generator : mediaGenerators())
    {
        try
        {
            generator.build(mediaDir);
        }
        catch (const std::exception& error)
        {
            std::cerr << "media generator '" << generator.name << "' failed: " << error.what() << "\n";
            return 1;
        }
    }
    return 0;
}
