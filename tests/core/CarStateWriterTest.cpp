// Recorded runs: frames, attributes, the cursor and the ghost file, damaged and hostile files
// included.
#include "CarStateWriter.h"
#include "DamagedArchives.h"
#include "HighScore.h"
#include "ReferenceRaceFiles.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
CarStateWriter::Frame frameAt(float x)
{
    return {{"posx", x}, {"posy", 1.5f}, {"posz", -x}, {"quatw", 1.0f}, {"w0y", 0.1f}, {"w3roll", 2.5f}};
}

CarStateWriter recording(int frameCount)
{
    CarStateWriter writer;
    writer.setInt("updatePause", 10);
    writer.setInt("wheelNr", 4);
    writer.setFloat("scale", 0.5f);
    writer.setString("car", "Roadster");
    for (int i = 0; i < frameCount; ++i)
        writer.addFrame(frameAt(static_cast<float>(i)));
    return writer;
}

}

TEST(CarStateWriter, FramesAndCursor)
{
    CarStateWriter empty;
    EXPECT_EQ(empty.getFrame(0), nullptr);
    EXPECT_EQ(empty.nextFrame(), nullptr);

    CarStateWriter writer = recording(3);
    EXPECT_EQ(writer.getFrameCount(), 3u);
    EXPECT_EQ(writer.getFrame(1)->at("posx"), 1.0f);
    EXPECT_EQ(writer.getFrame(99)->at("posx"), 2.0f) << "past the end: the last frame";
    for (float expected : {0.0f, 1.0f, 2.0f, 2.0f, 2.0f})
        EXPECT_EQ(writer.nextFrame()->at("posx"), expected);
}

TEST(CarStateWriter, AttributesAndKeys)
{
    CarStateWriter writer = recording(1);
    EXPECT_EQ(writer.getInt("updatePause"), 10);
    EXPECT_EQ(writer.getFloat("scale"), 0.5f);
    EXPECT_EQ(writer.getString("car"), "Roadster");
    EXPECT_EQ(writer.getInt("absent"), 0);
    EXPECT_EQ(writer.getFloat("absent"), 0.0f);
    EXPECT_EQ(writer.getString("absent"), "");
    EXPECT_TRUE(writer.hasKey("updatePause"));
    EXPECT_TRUE(writer.hasKey("scale"));
    EXPECT_TRUE(writer.hasKey("car"));
    EXPECT_FALSE(writer.hasKey("posx")) << "frame values are not attributes";
}

TEST(CarStateWriter, FileRoundTripKeepsEverything)
{
    TempFolder folder;
    const std::string path = folder.path() + "TestLoop.sde.shadow";
    const CarStateWriter original = recording(250);
    ASSERT_TRUE(original.save(path));

    CarStateWriter loaded;
    loaded.addFrame(frameAt(-7.0f));
    loaded.nextFrame();
    std::string error;
    ASSERT_TRUE(loaded.load(path, &error)) << error;
    EXPECT_EQ(loaded.getFrameCount(), 250u);
    for (unsigned i = 0; i < 250; ++i)
        EXPECT_EQ(*loaded.getFrame(i), *original.getFrame(i)) << i;
    EXPECT_EQ(loaded.getInt("wheelNr"), 4);
    EXPECT_EQ(loaded.getFloat("scale"), 0.5f);
    EXPECT_EQ(loaded.getString("car"), "Roadster");
    EXPECT_EQ(loaded.nextFrame()->at("posx"), 0.0f) << "the cursor starts again";
}

TEST(CarStateWriter, DamagedFilesChangeNothing)
{
    const std::string good = recording(5).toArchive();
    CarStateWriter moreInts = recording(5);
    moreInts.setInt("zz", 1);
    CarStateWriter longerKey;
    longerKey.setString("carx", "Roadster");
    CarStateWriter shortKey;
    shortKey.setString("car", "Roadster");

    struct Case
    {
        const char* what;
        std::string content;
        const char* reason;
        bool isFolder = false;
    };
    const Case cases[] = {
        {"zero length", "", "input stream error"},
        {"not an archive", "posx=1\nposy=2\n", "text longer than"},
        {"a header claiming a huge signature", std::string("\0\0\0\0\4\0\0\0serialization::archive", 30),
         "text longer than"},
        {"cut in the header", good.substr(0, 35), "input stream error"},
        {"cut in the frames", good.substr(0, good.size() - 9), "text longer than"},
        {"one byte short", good.substr(0, good.size() - 1), "input stream error"},
        {"data after the end", good + "extra", "data after the end"},
        {"a huge attribute count",
         damaged::patched(good, damaged::firstDifference(good, moreInts.toArchive()), std::uint64_t(1) << 60),
         "count larger than"},
        {"a huge frame count",
         damaged::patched(good, damaged::firstDifference(good, recording(6).toArchive()), std::uint64_t(1) << 33),
         "count larger than"},
        {"a huge key length",
         damaged::patched(shortKey.toArchive(), damaged::firstDifference(shortKey.toArchive(), longerKey.toArchive()),
                 std::uint64_t(1) << 40),
         "text longer than"},
        {"no recording, a null pointer", reference::ghostFile(nullptr), "no recording"},
        {"a negative class id", damaged::withClassId(good, -23040), "a class the file does not describe"},
        {"a class id past those known", damaged::withClassId(good, 5), "a class the file does not describe"},
        {"a table file instead", HighScore::toArchive(HighScore()), "input stream error"},
        {"a folder in its place", "", "a folder", true},
    };
    TempFolder folder;
    for (const Case& c : cases)
    {
        const std::string path = folder.path() + "damaged.shadow";
        std::remove(path.c_str());
        ::rmdir(path.c_str());
        if (c.isFolder)
            ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
        else
            folder.write("damaged.shadow", c.content);

        CarStateWriter writer = recording(2);
        std::string error;
        EXPECT_FALSE(writer.load(path, &error)) << c.what;
        EXPECT_NE(error.find(path), std::string::npos) << c.what << ": " << error;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(writer.getFrameCount(), 2u) << c.what;
        EXPECT_EQ(writer.getInt("wheelNr"), 4) << c.what;
    }
    CarStateWriter writer;
    EXPECT_FALSE(writer.load(folder.path() + "missing.shadow"));
}

TEST(CarStateWriter, FailedSaveKeepsTheOldFile)
{
    TempFolder folder;
    const std::string path = folder.path() + "run.shadow";
    ASSERT_TRUE(recording(3).save(path));
    const std::string before = TempFolder::read(path);
    std::string error;
    EXPECT_FALSE(recording(4).save(folder.path() + "missing/run.shadow", &error));
    EXPECT_NE(error.find("missing/run.shadow"), std::string::npos) << error;
    EXPECT_EQ(TempFolder::read(path), before);
}
