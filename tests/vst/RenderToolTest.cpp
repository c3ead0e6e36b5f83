#include "PluginCopy.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

// pulsaret-render through its command line, rendering the product from a private copy of the library.
namespace
{
namespace fs = std::filesystem;

struct Run
{
    int exitCode;
    std::string output; // stdout and stderr
};

Run render (const std::vector<std::string>& arguments)
{
    juce::StringArray command{PULSARET_RENDER};

    for (const auto& a : arguments)
        command.add (a);

    juce::ChildProcess process;

    if (!process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return {-1, "cannot start " PULSARET_RENDER};

    const auto output = process.readAllProcessOutput().toStdString();
    process.waitForProcessToFinish (60000);
    return {(int) process.getExitCode(), output};
}

std::vector<char> readFile (const fs::path& path)
{
    std::ifstream in (path, std::ios::binary);
    return std::vector<char> ((std::istreambuf_iterator<char> (in)), std::istreambuf_iterator<char>());
}

void writeFile (const fs::path& path, const std::vector<char>& bytes)
{
    std::ofstream (path, std::ios::binary).write (bytes.data(), (std::streamsize) bytes.size());
}

std::set<std::string> filesIn (const fs::path& folder)
{
    std::set<std::string> names;

    for (const auto& entry : fs::directory_iterator (folder))
        names.insert (entry.path().filename().string());

    return names;
}
} // namespace

TEST (RenderTool, RefusesWhatItCannotDoWithOneLineAndNoFile)
{
    const pulsaret_vst_test::PluginCopy plugin ({});
    const auto library = plugin.getPath().string();
    const auto folder = plugin.getPath().parent_path();
    const auto wav = (folder / "out.wav").string();

    // A state the plug-in wrote, and the same cut in half.
    const auto saved = (folder / "saved.state").string();
    const auto made = render ({library, wav, "--beats", "1", "--param", "0=0.25", "--save-state", saved});
    ASSERT_EQ (made.exitCode, 0) << made.output;
    ASSERT_TRUE (fs::remove (wav));
    const auto state = readFile (saved);
    ASSERT_GT (state.size(), 100u);
    const auto cut = (folder / "cut.state").string();
    writeFile (cut, std::vector<char> (state.begin(), state.begin() + (ptrdiff_t) state.size() / 2));
    const auto random = (folder / "random.state").string();
    std::vector<char> noise (4096);

    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = (char) ((i * 7919 + 13) >> 3);

    writeFile (random, noise);
    const auto missing = (folder / "missing.state").string();
    const auto inputs = filesIn (folder);

    const auto noFolder = (folder / "no such folder" / "saved.state").string();
    constexpr int refused = 2, failed = 1;

    const struct
    {
        std::vector<std::string> options;
        std::string message;
        int exitCode = refused;
    } cases[] = {
        {{"--state", random}, "--state " + random + ": the plug-in refused this state"},
        {{"--state", cut}, "--state " + cut + ": the plug-in refused this state"},
        {{"--state", missing}, "--state " + missing + ": cannot read the file"},
        {{"--param", "999=0.5"}, "--param 999=0.5: the plug-in has no parameter 999 (it has 47)"},
        {{"--param", "47=0.5"}, "--param 47=0.5: the plug-in has no parameter 47 (it has 47)"},
        {{"--param", "3=1.5"}, "--param 3=1.5: the value must be 0 to 1"},
        {{"--note", "0:36:200"}, "--note 0:36:200: the velocity must be a whole number from 1 to 127"},
        {{"--note", "0:36:0"}, "--note 0:36:0: the velocity must be a whole number from 1 to 127"},
        {{"--note", "0:128"}, "--note 0:128: the key must be a whole number from 0 to 127"},
        {{"--note", "-1:36"}, "--note -1:36: the beat must be a number from 0"},
        {{"--note", "0:36:100:0"}, "--note 0:36:100:0: the length must be more than 0 beats"},
        {{"--beats", "4", "--note", "4:36"}, "--note 4:36: starts at or after the end of the render (--beats)"},
        {{"--rate", "0"}, "--rate 0: the sample rate must be 8000 to 384000 Hz"},
        {{"--tempo", "0"}, "--tempo 0: the tempo must be 1 to 999 BPM"},
        // The length is known before the first block: 24000 frames a beat at 120 BPM and 48 kHz.
        {{"--beats", "44740"}, "--beats 44740: the WAV file would be too long for its header: at most 1073741814 frames of 2 channels"},
        {{"--beats", "5593", "--all-outputs"}, "--beats 5593: the WAV file would be too long for its header: at most 134217726 frames of 16 channels"},
        {{"--beats", "44739", "--block", "100000000"}, "--block 100000000: a block would hold more than 512 MiB of samples: at most 3834792 frames with 16 outputs"},
        {{"--save-state", noFolder}, "--save-state " + noFolder + ": cannot write the file", failed},
        {{"--block", "0"}, "--block 0: the block size must be a whole number of samples from 1"},
        {{"--block", "64x"}, "--block 64x: the block size must be a whole number of samples from 1"},
        {{"--play", "8:4"}, "--play 8:4: expects FROM:TO, beats from 0 with TO after FROM"},
        {{"--rate"}, "--rate: needs a value"},
        {{"--loud", "1"}, "--loud: unknown option"},
    };

    for (const auto& c : cases)
    {
        std::vector<std::string> arguments{library, wav, "--beats", "1"};
        arguments.insert (arguments.end(), c.options.begin(), c.options.end());
        const auto run = render (arguments);
        EXPECT_EQ (run.exitCode, c.exitCode) << c.message;
        EXPECT_EQ (run.output, "pulsaret-render: " + c.message + "\n");
        EXPECT_EQ (filesIn (folder), inputs) << c.message;
        std::error_code ignored;
        fs::remove (wav, ignored); // so that one row's failure stays its own
    }

    // The saved state is taken back: the render goes through and the WAV appears.
    const auto good = render ({library, wav, "--beats", "1", "--state", saved});
    EXPECT_EQ (good.exitCode, 0) << good.output;
    EXPECT_TRUE (fs::exists (wav));
}
