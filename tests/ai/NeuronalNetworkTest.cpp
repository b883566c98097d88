// The named-input wrapper over FANN: running, recording, training files FANN reads back.
#include "ai/NeuronalNetwork.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>


namespace
{
// One input "angle", one output "steer", as the steering network has.
std::unique_ptr<NeuronalNetwork> steerNetwork()
{
    auto network = std::make_unique<NeuronalNetwork>(3, 3);
    network->addName("angle", true);
    network->addName("steer", false);
    return network;
}

// A network trained on steer = angle / 2 over [-1, 1], from a training file we wrote.
std::unique_ptr<NeuronalNetwork> trainedSteerNetwork(const TempFolder& folder, unsigned seed)
{
    auto recorder = steerNetwork();
    for (int i = -10; i <= 10; ++i)
    {
        recorder->setInput("angle", i / 10.0f);
        recorder->setOutput("steer", i / 20.0f);
        recorder->addTrainingSample();
    }
    const std::string data = folder.path() + "steertraining.data";
    EXPECT_TRUE(recorder->writeTrainingFile(data));

    auto trained = steerNetwork();
    EXPECT_TRUE(trained->trainFromFile(data, 3000, 0, seed));
    return trained;
}
}

TEST(NeuronalNetwork, WithoutANetworkRunsNothingAndKeepsValues)
{
    auto network = steerNetwork();
    EXPECT_FALSE(network->load(""));
    EXPECT_FALSE(network->load("/nonexistent/NNOperationalSteer.net"));
    network->setInput("angle", 0.3f);
    network->setOutput("steer", 0.7f);
    network->setInput("speed", 1.0f);  // not declared
    EXPECT_TRUE(network->run());
    EXPECT_EQ(network->getOutput("steer"), 0.7f);
    EXPECT_EQ(network->getOutput("speed"), 0.0f);
    EXPECT_EQ(network->getOutput("never"), 0.0f);
}

TEST(NeuronalNetwork, TrainingFileIsFannText)
{
    TempFolder folder;
    auto network = steerNetwork();
    network->setInput("angle", 0.5f);
    network->setOutput("steer", -0.25f);
    network->addTrainingSample();
    network->addTrainingSample();  // the same values twice: both written
    network->setInput("speed", 3.0f);
    network->setInput("angle", 1e-7f);
    network->setOutput("steer", 1.0f);
    network->addTrainingSample();

    const std::string path = folder.path() + "steertraining.data";
    ASSERT_TRUE(network->writeTrainingFile(path));
    EXPECT_EQ(TempFolder::read(path), "3 1 1\n0.5 \n-0.25 \n0.5 \n-0.25 \n1e-07 \n1 \n");
    EXPECT_EQ(network->getSampleCount(), 3u) << "the samples stay recorded";
}

TEST(NeuronalNetwork, NoSamplesKeepEarlierTrainingData)
{
    TempFolder folder;
    const std::string path = folder.write("speedtraining.data", "1 1 1\n0.1 \n0.2 \n");
    auto network = steerNetwork();
    std::string error;
    EXPECT_FALSE(network->writeTrainingFile(path, &error));
    EXPECT_NE(error.find("no samples"), std::string::npos) << error;
    EXPECT_EQ(TempFolder::read(path), "1 1 1\n0.1 \n0.2 \n");

    network->addTrainingSample();
    EXPECT_FALSE(network->writeTrainingFile(folder.path() + "missing/folder.data", &error));
    EXPECT_NE(error.find("missing/folder.data"), std::string::npos) << error;
}

TEST(NeuronalNetwork, TrainsSavesAndLoadsAWorkingNetwork)
{
    TempFolder folder;
    auto trained = trainedSteerNetwork(folder, 7);
    ASSERT_TRUE(trained->hasNetwork());
    const std::string saved = folder.path() + "NNOperationalSteer.net";
    ASSERT_EQ(trained->save(saved), 0);

    auto loaded = steerNetwork();
    ASSERT_TRUE(loaded->load(saved));
    for (float angle : {-0.8f, -0.3f, 0.0f, 0.4f, 0.9f})
    {
        loaded->setInput("angle", angle);
        ASSERT_TRUE(loaded->run());
        EXPECT_NEAR(loaded->getOutput("steer"), angle / 2.0f, 0.05f) << angle;
    }
}

TEST(NeuronalNetwork, TrainingIsDeterministicForASeed)
{
    TempFolder folder;
    const std::string first = folder.path() + "first.net";
    const std::string second = folder.path() + "second.net";
    ASSERT_EQ(trainedSteerNetwork(folder, 11)->save(first), 0);
    ASSERT_EQ(trainedSteerNetwork(folder, 11)->save(second), 0);
    EXPECT_EQ(TempFolder::read(first), TempFolder::read(second));
    EXPECT_FALSE(TempFolder::read(first).empty());
}

TEST(NeuronalNetwork, ANetworkOfOtherCountsIsRefusedWithoutHarm)
{
    TempFolder folder;
    const std::string saved = folder.path() + "steer.net";
    ASSERT_EQ(trainedSteerNetwork(folder, 3)->save(saved), 0);

    // The speed driver declares two inputs; the steer network has one.
    NeuronalNetwork speed(3, 3);
    speed.addName("angle", true);
    speed.addName("speed", true);
    speed.addName("throttle", false);
    ASSERT_TRUE(speed.load(saved));
    speed.setInput("angle", 0.1f);
    speed.setInput("speed", 0.5f);
    speed.setOutput("throttle", 0.6f);
    EXPECT_FALSE(speed.run());
    EXPECT_EQ(speed.getOutput("throttle"), 0.6f);

    speed.addTrainingSample();
    const std::string data = folder.write("speedtraining.data", "old");
    EXPECT_FALSE(speed.writeTrainingFile(data));
    EXPECT_EQ(TempFolder::read(data), "old");
}

TEST(NeuronalNetwork, FilesThatAreNoFilesAreRefusedWithoutWaiting)
{
    TempFolder folder;
    const std::string fifo = folder.path() + "NNOperationalSteer.net";
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    // The library would wait for ever for a writer on the FIFO: end the test then.
    alarm(20);
    auto network = steerNetwork();
    EXPECT_FALSE(network->load(fifo));
    EXPECT_FALSE(network->trainFromFile(fifo, 10, 0, 1));
    auto trained = trainedSteerNetwork(folder, 1);
    EXPECT_EQ(trained->save(fifo), 0);
    EXPECT_EQ(trained->save(folder.path()), 0) << "a folder";
    alarm(0);
}
