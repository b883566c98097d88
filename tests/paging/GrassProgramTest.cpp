// The generated grass vertex programs: their names, and that every combination of options
// gives a GLSL 1.20 source that compiles and declares exactly the uniforms the layer binds.
#include "paging/GrassProgram.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>

namespace
{
TEST(GrassProgramTest, NamesTellTheOptionsApart)
{
    struct Case
    {
        const char* what;
        GrassProgramOptions options;
        const char* name;
    };
    const Case cases[] = {
        {"the race's grass", {true, true, GRASSTECH_QUAD, FADETECH_ALPHA, 0.6f}, "GrassVS_anim_blend_0_0_vp"},
        {"growing blades carry their height", {false, false, GRASSTECH_QUAD, FADETECH_GROW, 0.6f},
         "GrassVS_0_1_0.6_vp"},
        {"fading and growing sprites", {true, false, GRASSTECH_SPRITE, FADETECH_ALPHAGROW, 1.5f},
         "GrassVS_anim_2_2_1.5_vp"},
        {"the height only matters when growing", {false, true, GRASSTECH_CROSSQUADS, FADETECH_ALPHA, 2.0f},
         "GrassVS_blend_1_0_vp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GrassProgram::name(c.options), c.name) << c.what;
}

// The validator on the machine, or empty.
std::string findValidator()
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin";
    size_t start = 0;
    while (start <= dirs.size())
    {
        const size_t end = dirs.find(':', start);
        const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string candidate = (dir.empty() ? "." : dir) + "/glslangValidator";
        if (std::ifstream(candidate).good())
            return candidate;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return "";
}

// Runs the validator on a vertex shader source; the exit status and what it printed.
int validate(const std::string& validator, const std::string& source, const std::string& file,
             std::string& output)
{
    std::ofstream(file) << source;
    FILE* pipe = popen((validator + " -S vert '" + file + "' 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), buffer.size(), pipe))
        output += buffer.data();
    const int status = pclose(pipe);
    std::remove(file.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool declares(const std::string& source, const std::string& uniform)
{
    return source.find("uniform " + uniform + ";") != std::string::npos;
}

TEST(GrassProgramTest, EveryCombinationCompilesWithTheUniformsTheLayerBinds)
{
    const std::string validator = findValidator();
    ASSERT_FALSE(validator.empty())
        << "glslangValidator is not on the PATH: tools/setup.sh installs it (package glslang-tools)";

    const GrassTechnique techniques[] = {GRASSTECH_QUAD, GRASSTECH_CROSSQUADS, GRASSTECH_SPRITE};
    const FadeTechnique fades[] = {FADETECH_ALPHA, FADETECH_GROW, FADETECH_ALPHAGROW};
    const std::string file = ::testing::TempDir() + "grass_program_test.vert";
    for (GrassTechnique technique : techniques)
        for (FadeTechnique fade : fades)
            for (bool animate : {false, true})
                for (bool blend : {false, true})
                {
                    const GrassProgramOptions options{animate, blend, technique, fade, 0.6f};
                    const std::string name = GrassProgram::name(options);
                    const std::string source = GrassProgram::vertexSource(options);
                    std::string output;
                    EXPECT_EQ(validate(validator, source, file, output), 0)
                        << name << " does not compile:\n" << output << "\n" << source;

                    for (const char* always : {"mat4 worldViewProj", "vec3 camPos", "float fadeRange"})
                        EXPECT_TRUE(declares(source, always)) << name << ": " << always;
                    for (const char* wind : {"float time", "float frequency", "vec4 direction"})
                        EXPECT_EQ(declares(source, wind), animate) << name << ": " << wind;
                    EXPECT_EQ(declares(source, "float grassHeight"), GrassProgram::grows(fade)) << name;
                    EXPECT_EQ(source.find("gl_Normal") != std::string::npos, technique == GRASSTECH_SPRITE)
                        << name << ": only sprites read their corner offset";
                }
}

// A broken source must fail, or the test above proves nothing.
TEST(GrassProgramTest, TheValidatorRefusesABrokenSource)
{
    const std::string validator = findValidator();
    ASSERT_FALSE(validator.empty())
        << "glslangValidator is not on the PATH: tools/setup.sh installs it (package glslang-tools)";
    std::string source = GrassProgram::vertexSource({});
    source.replace(source.find("uniform float fadeRange;"), 24, "");
    std::string output;
    EXPECT_NE(validate(validator, source, ::testing::TempDir() + "grass_program_broken.vert", output), 0);
}
}
