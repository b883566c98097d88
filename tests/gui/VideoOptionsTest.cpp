// The render-system, video-mode and anti-aliasing lists of the options menu.
#include "gui/VideoOptions.h"

#include <gtest/gtest.h>

using Strings = std::vector<std::string>;

TEST(VideoOptions, OnlyRenderSystemsTheSettingsAcceptAreOffered)
{
    // This build has the OpenGL one; the others would be refused by the settings.
    EXPECT_EQ(Strings{"OpenGL Rendering Subsystem"},
              VideoOptions::offeredRenderers({"OpenGL 3+ Rendering Subsystem", "OpenGL Rendering Subsystem",
                                              "OpenGL ES 2.x Rendering Subsystem"}));
    EXPECT_EQ((Strings{"Direct3D9 Rendering Subsystem", "OpenGL Rendering Subsystem"}),
              VideoOptions::offeredRenderers({"Direct3D9 Rendering Subsystem", "OpenGL Rendering Subsystem"}));
    EXPECT_TRUE(VideoOptions::offeredRenderers({}).empty());
}

TEST(VideoOptions, VideoModesAreListedAsTheSettingsWriteThem)
{
    struct Case
    {
        const char* what;
        const char* renderer;
        Strings values;
        const char* kept;
        Strings modes;
    };
    const Case cases[] = {
        {"the engine's padding goes", "OpenGL Rendering Subsystem", {"1024 x  768", " 800 x  600", "640 x 480"}, "",
         {"1024 x 768", "800 x 600", "640 x 480"}},
        {"colour depths collapse under Direct3D9", "Direct3D9 Rendering Subsystem",
         {"800 x 600 @ 16-bit colour", "800 x 600 @ 32-bit colour", "1024 x 768 @ 32-bit colour"}, "",
         {"800 x 600", "1024 x 768"}},
        {"OpenGL keeps an @", "OpenGL Rendering Subsystem", {"800 x 600 @ 60"}, "", {"800 x 600 @ 60"}},
        {"the running window's size stays a choice", "OpenGL Rendering Subsystem", {"1024 x  768"}, "900 x 700",
         {"1024 x 768", "900 x 700"}},
        {"a kept mode already listed is listed once", "OpenGL Rendering Subsystem", {"1024 x  768", "800 x  600"},
         "1024 x 768", {"1024 x 768", "800 x 600"}},
        {"no values, no modes", "OpenGL Rendering Subsystem", {}, "", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.modes, VideoOptions::videoModes(c.renderer, c.values, c.kept)) << c.what;
}
