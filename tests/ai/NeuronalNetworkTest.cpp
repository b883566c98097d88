// The named-input wrapper over FANN: running, recording, training files FANN reads back.
#include "ai/NeuronalNetwork.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(NeuronalNetwork, NoSamplesWriteTheCountLineWhichTrainsNothing)
{
    TempFolder folder;
    const std::string path = folder.write("speedtraining.data", "1 1 1\n0.1 \n0.2 \n");
    auto network = steerNetwork();
    ASSERT_TRUE(network->writeTrainingFile(path));
    EXPECT_EQ(TempFolder::read(path), "0 1 1\n");
    // FANN would draw its first weights from a first sample that is not there.
    auto trainee = steerNetwork();
    std::string problem;
    EXPECT_FALSE(trainee->trainFromFile(path, 10, 0, NeuronalNetwork::kDefaultTrainingSeed, &problem));
    EXPECT_NE(problem.find("no samples"), std::string::npos) << problem;
    EXPECT_FALSE(trainee->hasNetwork());

    std::string error;
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

namespace
{
// The text FANN writes for a fresh steering network (1 input, 3 hidden, 1 output): the
// layers "2 4 2", the hidden neurons "(2, 5, ...)", the output neuron "(4, 5, ...)".
std::string steerNetworkText(const TempFolder& folder)
{
    auto network = steerNetwork();
    EXPECT_TRUE(network->create());
    const std::string path = folder.path() + "fresh.net";
    EXPECT_EQ(network->save(path), 0);
    return TempFolder::read(path);
}

// The text with its first `from` replaced; a case whose `from` is missing fails.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

const char* const kConnections = "connections (connected_to_neuron, weight)=";
const char* const kHiddenNeuron = "(2, 5, 1.00000000000000000000e+00)";
const char* const kOutputNeuron = "(4, 5, 1.00000000000000000000e+00)";
}

TEST(NeuronalNetwork, DamagedNetworkFilesAreRefusedAndTheWrapperGoesOn)
{
    TempFolder folder;
    const std::string good = steerNetworkText(folder);
    // The first connection, "(0, <weight>) ", and a sparse network's flag.
    const std::size_t first = good.find(kConnections) + std::string(kConnections).size();
    const std::string firstConnection = good.substr(first, good.find(") ", first) + 2 - first);
    const std::string sparse = replaced(good, "connection_rate=1.000000", "connection_rate=0.500000");
    struct Case
    {
        const char* what;
        std::string text;
        const char* problem;  // a part of the reason given
    };
    const Case cases[] = {
        {"a connection from neuron 4 000 000 000", replaced(good, firstConnection, "(4000000000, 0.5) "),
         "neuron 4000000000 of 8"},
        {"the same in a sparse network, which fann_run follows",
         replaced(sparse, firstConnection, "(4000000000, 0.5) "), "neuron 4000000000"},
        {"a layer of 4 000 000 000 neurons", replaced(good, "layer_sizes=2 4 2", "layer_sizes=2 4000000000 2"),
         "missing"},
        {"a neuron taking 4 000 000 000 connections", replaced(good, kOutputNeuron, "(4000000000, 5, 1.0)"),
         "missing"},
        {"a cascade list whose size wraps", replaced(good, "cascade_activation_functions_count=10",
                                                      "cascade_activation_functions_count=1073741825"),
         "entries"},
        {"no layers", replaced(good, "num_layers=3", "num_layers=0"), "input and an output layer"},
        {"a negative count", replaced(good, "num_layers=3", "num_layers=-3"), "num_layers"},
        {"a weight that is not a number", replaced(good, firstConnection, "(0, nan) "), "finite weight"},
        {"an infinite weight", replaced(good, firstConnection, "(0, 1e39) "), "finite weight"},
        {"an unknown activation function", replaced(good, kHiddenNeuron, "(2, 99, 1.0)"), "activation function 99"},
        {"another version", replaced(good, "FANN_FLO_2.1", "FANN_FLO_1.1"), "version"},
        {"cut in half", good.substr(0, good.size() / 2), "line"},
        {"empty", "", "version"},
        {"text after the connections", good + "(0, 1.0) ", "after the last connection"},
        // Fine as text, impossible as a network: only the check after loading sees these.
        {"a neuron taking more connections than the layer below has",
         replaced(replaced(good, kOutputNeuron, "(5, 5, 1.0)"), kConnections, std::string(kConnections) + "(0, 0.1) "),
         "neurons below it"},
        {"an input neuron with a connection",
         replaced(replaced(good, "(0, 0, ", "(1, 0, "), kConnections, std::string(kConnections) + "(1, 0.1) "),
         "is an input"},
        {"a connection from the neuron's own layer", replaced(good, firstConnection, "(3, 0.5) "),
         "does not come from a neuron below"},
    };
    for (const Case& c : cases)
    {
        const std::string path = folder.write("NNOperationalSteer.net", c.text);
        auto network = steerNetwork();
        network->setOutput("steer", 0.25f);
        std::string problem;
        EXPECT_FALSE(network->load(path, &problem)) << c.what;
        EXPECT_EQ(network->getLoadFailure(), NeuronalNetwork::LoadFailure::Damaged) << c.what;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
        EXPECT_EQ(problem.rfind(path, 0), 0u) << c.what << ": the reason names the file: " << problem;
        EXPECT_FALSE(network->hasNetwork()) << c.what;
        network->setInput("angle", 0.5f);
        EXPECT_TRUE(network->run()) << c.what;
        EXPECT_EQ(network->getOutput("steer"), 0.25f) << c.what;
    }

    auto network = steerNetwork();
    ASSERT_TRUE(network->load(folder.write("NNOperationalSteer.net", good))) << "the file the cases start from";
    network->setInput("angle", 0.5f);
    EXPECT_TRUE(network->run());
    EXPECT_TRUE(network->load(folder.write("spaced.net", replaced(good, "num_layers=3\n", "num_layers=3\n\n"))))
        << "a blank line between settings, which FANN reads too";
}

TEST(NeuronalNetwork, MissingAndUnreadableNetworksAreToldApart)
{
    TempFolder folder;
    struct Case
    {
        const char* what;
        std::string path;
        NeuronalNetwork::LoadFailure failure;
    };
    const std::string fifo = folder.path() + "fifo.net";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const Case cases[] = {
        {"no such file", folder.path() + "NNOperationalSpeed.net", NeuronalNetwork::LoadFailure::Missing},
        {"no name", "", NeuronalNetwork::LoadFailure::Missing},
        {"a folder", folder.path(), NeuronalNetwork::LoadFailure::Unreadable},
        {"a FIFO, which would block the reader", fifo, NeuronalNetwork::LoadFailure::Unreadable},
    };
    for (const Case& c : cases)
    {
        auto network = steerNetwork();
        std::string problem;
        EXPECT_FALSE(network->load(c.path, &problem)) << c.what;
        EXPECT_EQ(network->getLoadFailure(), c.failure) << c.what << ": " << problem;
        EXPECT_FALSE(problem.empty()) << c.what;
    }
}

TEST(NeuronalNetwork, AnAnswerThatIsNotANumberIsRefused)
{
    // Two inputs through one hidden neuron with weights of opposite huge sizes: at inputs
    // of 2 each product overflows, and infinity minus infinity is not a number.
    TempFolder folder;
    NeuronalNetwork maker(3, 1);
    maker.addName("a", true);
    maker.addName("b", true);
    maker.addName("out", false);
    ASSERT_TRUE(maker.create());
    ASSERT_EQ(maker.save(folder.path() + "two.net"), 0);
    std::string text = TempFolder::read(folder.path() + "two.net");
    const std::size_t first = text.find(kConnections) + std::string(kConnections).size();
    const std::size_t third = text.find(") (", text.find(") (", first) + 1) + 2;
    text.replace(first, third - first, "(0, 3e38) (1, -3e38) ");
    NeuronalNetwork network(3, 1);
    network.addName("a", true);
    network.addName("b", true);
    network.addName("out", false);
    std::string problem;
    ASSERT_TRUE(network.load(folder.write("huge.net", text), &problem)) << problem;
    network.setOutput("out", 0.25f);
    network.setInput("a", 2.0f);
    network.setInput("b", 2.0f);
    EXPECT_FALSE(network.run());
    EXPECT_EQ(network.getOutput("out"), 0.25f);
    network.setInput("a", 1e-3f);
    network.setInput("b", 1e-3f);
    EXPECT_TRUE(network.run());
    EXPECT_TRUE(std::isfinite(network.getOutput("out")));
}

TEST(NeuronalNetwork, DamagedTrainingFilesAreRefusedBeforeFannReadsThem)
{
    TempFolder folder;
    struct Case
    {
        const char* what;
        const char* text;
        const char* problem;
    };
    const Case cases[] = {
        {"counts whose product wraps", "2147483648 2 1\n1 2\n3\n", "sample 1 of 2147483648"},
        {"huge counts and one sample", "4000000000 4000000000 4000000000\n1\n2\n", "sample 0"},
        {"a negative count", "-1 1 1\n1\n2\n", "counts"},
        {"no inputs", "1 0 1\n\n2\n", "at least one input"},
        {"a value that is not a number", "1 1 1\nnan\n2\n", "input 0"},
        {"an output too large for a float", "1 1 1\n1\n1e39\n", "output 0"},
        {"a sample short", "2 1 1\n1\n2\n3\n", "sample 1 of 2"},
        {"more than the counts say", "1 1 1\n1\n2\n3\n", "after the last sample"},
        {"empty", "", "counts"},
    };
    for (const Case& c : cases)
    {
        auto network = steerNetwork();
        std::string problem;
        EXPECT_FALSE(network->trainFromFile(folder.write("steertraining.data", c.text), 10, 0,
                                            NeuronalNetwork::kDefaultTrainingSeed, &problem))
            << c.what;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
        EXPECT_FALSE(network->hasNetwork()) << c.what;
    }
    auto network = steerNetwork();
    EXPECT_TRUE(network->trainFromFile(folder.write("steertraining.data", "2 1 1\n0.5\n0.25\n-0.5 -0.25"), 10, 0));
}
