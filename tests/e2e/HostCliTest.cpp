#include "TestFiles.h"

#include <gtest/gtest.h>

#include <regex>

namespace
{

using e2e::runCommand;

e2e::CommandResult host(const std::vector<std::string>& arguments)
{
    return runCommand(KOLVRANE_HOST_PATH, arguments);
}

class HostCli : public ::testing::Test
{
protected:
    std::string file(const std::string& name) const { return scratch.file(name).string(); }

    // A stereo input of constant samples, or mono when `channels` is 1.
    std::string writeInput(const std::string& name, int channels, float value, int frames = 1000,
                           int rate = 44100)
    {
        e2e::writeFloatWav(
            file(name),
            std::vector<std::vector<float>>(static_cast<size_t>(channels),
                                            std::vector<float>(static_cast<size_t>(frames), value)),
            rate);
        return file(name);
    }

    e2e::ScratchFolder scratch;
};

TEST_F(HostCli, InfoListsIdentityCapabilitiesAndParameters)
{
    const auto result = host({"--plugin", FAKE_PLUGIN_PATH, "--info", "--set", "Gain=0.25"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    const std::string expectedLines[] = {R"(Effect name:\s+Fake Gain)",
                                         R"(Unique ID:\s+'FkGn' 0x466B476E)",
                                         R"(Version:\s+66051 \(1\.2\.3\))",
                                         R"(Inputs / outputs:\s+2 / 2)",
                                         R"(Flags:\s+0x30 CanReplacing ProgramChunks)",
                                         R"(Category:\s+1 \(Effect\))",
                                         R"(in 1: label "2" short "2" flags 0x3 active stereo)",
                                         R"(receiveVstEvents\s+1 \(yes\))",
                                         R"(sendVstEvents\s+-1 \(no\))",
                                         R"(bypass\s+0 \(don't know\))",
                                         R"(0\s+"Gain"\s+0\.250000\s+"0\.50" \[x\])",
                                         R"(2\s+"A Rather Long Parameter Name"\s+0\.250000)"};
    for (const auto& line : expectedLines)
        EXPECT_TRUE(std::regex_search(result.output, std::regex(line))) << line << "\n" << result.output;
}

TEST_F(HostCli, RendersThroughThePluginToStereoFloatWav)
{
    const auto input = writeInput("mono.wav", 1, 0.5f);
    const auto output = file("out.wav");
    const auto result = host({"--plugin", FAKE_PLUGIN_PATH, "--in", input, "--out", output, "--set", "0=0.25",
                              "--rate", "48000", "--tail", "0.01", "--block", "100"});
    ASSERT_EQ(result.exitCode, 0) << result.output;

    const auto wav = e2e::readWav(output);
    EXPECT_EQ(wav.formatTag, 3);
    EXPECT_EQ(wav.bitsPerSample, 32);
    EXPECT_EQ(wav.sampleRate, 48000) << "the plug-in's rate, not the input's";
    ASSERT_EQ(wav.channels.size(), 2u);
    for (const auto& channel : wav.channels)
    {
        ASSERT_EQ(channel.size(), 1000u + 480u);
        EXPECT_FLOAT_EQ(channel[0], 0.25f);
        EXPECT_FLOAT_EQ(channel[999], 0.25f);
        EXPECT_FLOAT_EQ(channel[1000], 0.0f);
    }
}

TEST_F(HostCli, DeliversMidiAtItsSamplePosition)
{
    const auto input = writeInput("in.wav", 2, 0.5f);
    const auto output = file("out.wav");
    const auto result = host({"--plugin", FAKE_PLUGIN_PATH, "--in", input, "--out", output, "--block", "64",
                              "--midi", "300:0xB0:7:0", "--midi=5000:0x90:60:100"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("1 MIDI event(s) lie beyond"), std::string::npos) << result.output;

    const auto wav = e2e::readWav(output);
    ASSERT_EQ(wav.channels.size(), 2u);
    EXPECT_FLOAT_EQ(wav.channels[1][299], 0.5f);
    EXPECT_FLOAT_EQ(wav.channels[1][300], 0.0f);
}

TEST_F(HostCli, SavesAndRestoresTheBankChunk)
{
    const auto state = file("state.bin");
    ASSERT_EQ(host({"--plugin", FAKE_PLUGIN_PATH, "--set", "gain=0.1", "--save-state", state}).exitCode, 0);

    const auto result = host({"--plugin", FAKE_PLUGIN_PATH, "--load-state", state, "--info"});
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_TRUE(std::regex_search(result.output, std::regex(R"("Gain"\s+0\.100000)"))) << result.output;
}

TEST_F(HostCli, RejectsBadCommandLinesWithStatus2)
{
    const auto input = writeInput("in.wav", 2, 0.5f);
    const std::vector<std::vector<std::string>> cases = {
        {"--info"},
        {"--plugin", FAKE_PLUGIN_PATH},
        {"--plugin", FAKE_PLUGIN_PATH, "--in", input},
        {"--plugin", FAKE_PLUGIN_PATH, "--info", "--set", "Gain=1.5"},
        {"--plugin", FAKE_PLUGIN_PATH, "--info", "--set", "Gain"},
        {"--plugin", FAKE_PLUGIN_PATH, "--info", "--set", "NoSuchParameter=0.5"},
        {"--plugin", FAKE_PLUGIN_PATH, "--info", "--set", "3=0.5"},
        {"--plugin", FAKE_PLUGIN_PATH, "--in", input, "--out", file("o.wav"), "--midi", "10:0xB0:7"},
        {"--plugin", FAKE_PLUGIN_PATH, "--in", input, "--out", file("o.wav"), "--midi", "10:0x40:7:0"},
        {"--plugin", FAKE_PLUGIN_PATH, "--in", input, "--out", file("o.wav"), "--block", "0"},
        {"--plugin", FAKE_PLUGIN_PATH, "--info", "--midi", "10:0xB0:7:0"},
        {"--plugin", FAKE_PLUGIN_PATH, "--info", "--frobnicate"},
        {"--plugin"}};
    for (const auto& arguments : cases)
    {
        const auto result = host(arguments);
        EXPECT_EQ(result.exitCode, 2) << ::testing::PrintToString(arguments) << "\n" << result.output;
        EXPECT_NE(result.output.find("--help"), std::string::npos) << result.output;
    }
}

TEST_F(HostCli, ReportsRuntimeFailuresWithStatus1)
{
    const auto input = writeInput("in.wav", 2, 0.5f);
    const std::vector<std::vector<std::string>> cases = {
        {"--plugin", FAKE_NO_ENTRY_PLUGIN_PATH, "--info"},
        {"--plugin", FAKE_PLUGIN_PATH, "--in", file("missing.wav"), "--out", file("o.wav")},
        {"--plugin", FAKE_PLUGIN_PATH, "--load-state", file("missing.bin"), "--info"},
        {"--plugin", FAKE_PLUGIN_PATH, "--in", input, "--out", file("no/such/folder/o.wav")}};
    for (const auto& arguments : cases)
        EXPECT_EQ(host(arguments).exitCode, 1) << ::testing::PrintToString(arguments);
}

TEST(ExampleFile, IsReproducedByItsGenerator)
{
    e2e::ScratchFolder scratch;
    const auto generated = scratch.file("example.wav");
    ASSERT_EQ(runCommand(KOLVRANE_MAKE_EXAMPLE_PATH, {generated.string()}).exitCode, 0);

    const auto committed = e2e::readWav(std::string(EXAMPLES_DIR) + "/bassline-drums.wav");
    const auto fresh = e2e::readWav(generated);
    EXPECT_EQ(committed.formatTag, 1);
    EXPECT_EQ(committed.bitsPerSample, 16);
    EXPECT_EQ(committed.sampleRate, 44100);
    ASSERT_EQ(committed.channels.size(), 2u);
    ASSERT_EQ(fresh.channels.size(), 2u);
    ASSERT_EQ(fresh.channels[0].size(), committed.channels[0].size());
    const double seconds = static_cast<double>(committed.channels[0].size()) / committed.sampleRate;
    EXPECT_GE(seconds, 4.0);
    EXPECT_LE(seconds, 6.0);
    // Within one step of 16 bits, so a different maths library may round a sample the other way.
    for (size_t c = 0; c < 2; ++c)
        for (size_t i = 0; i < committed.channels[c].size(); ++i)
            ASSERT_NEAR(committed.channels[c][i], fresh.channels[c][i], 1.5 / 32768.0)
                << "channel " << c << " frame " << i;
}

} // namespace
