#include "PluginCopy.h"
#include "tests/drummachine/PulsaretTestHost.h"
#include "tools/render/OfflineHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

// Damaged and hostile documents through every way a document reaches the product: the state and program
// chunks through its entry point, the settings file and the files it names through pulsaret-render, and the
// pattern and preset files that the editor's choosers load. Each row leaves the state as it was, or holds
// exactly what the well-formed part of the document says.
namespace
{
namespace fs = std::filesystem;
using SteadyClock = std::chrono::steady_clock;

/** A row that hangs never comes back to fail: this ends the program after a bound far above the second a
    row may take, naming the row. */
class Watchdog
{
public:
    explicit Watchdog (std::string rowName)
        : row (std::move (rowName))
        , thread ([this] { watch(); })
    {
    }

    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> lock (mutex);
            done = true;
        }

        condition.notify_one();
        thread.join();
    }

private:
    void watch()
    {
        std::unique_lock<std::mutex> lock (mutex);

        if (!condition.wait_for (lock, std::chrono::seconds (20), [this] { return done; }))
        {
            std::fprintf (stderr, "%s: still running after 20 s\n", row.c_str());
            std::_Exit (1);
        }
    }

    std::mutex mutex;
    std::condition_variable condition;
    bool done = false;
    std::string row;
    std::thread thread;
};

std::string repeated (const std::string& text, size_t times)
{
    std::string result;
    result.reserve (text.size() * times);

    for (size_t i = 0; i < times; ++i)
        result += text;

    return result;
}

std::string replaced (std::string text, const std::string& from, const std::string& to)
{
    for (auto at = text.find (from); at != std::string::npos; at = text.find (from, at + to.size()))
        text.replace (at, from.size(), to);

    return text;
}

std::vector<uint8_t> chunkOf (const std::string& xml)
{
    std::vector<uint8_t> chunk{'V', 'C', '2', '!'};
    const auto length = (uint32_t) xml.size();

    for (int i = 0; i < 4; ++i)
        chunk.push_back ((uint8_t) (length >> (8 * i)));

    chunk.insert (chunk.end(), xml.begin(), xml.end());
    chunk.push_back (0);
    chunk.push_back (0);
    return chunk;
}

std::vector<uint8_t> readBytes (const fs::path& path)
{
    std::ifstream in (path, std::ios::binary);
    return std::vector<uint8_t> ((std::istreambuf_iterator<char> (in)), std::istreambuf_iterator<char>());
}

void writeText (const fs::path& path, const std::string& text)
{
    std::ofstream (path, std::ios::binary) << text;
}

enum class Way
{
    stateChunk,
    programChunk,
    settingsFile,
    presetBankFile,
    patternBankFile,
    drumMapFile,
    midiMapFile,
    presetFile,
    patternFile
};

/** A document as the way carries it. "{in}" lies directly inside the document element; "{num}" takes the
    entry with the number, numberEntry with "%" for its text. */
struct Carrier
{
    const char* name;
    Way way;
    std::string document;
    std::string numberEntry;
    const char* extension = ""; // for the files
    const char* resourceSetting = ""; // the settings' child of "ResourcesSettings" naming the file, "%" for its path
};

struct Row
{
    std::string name;
    std::string text;
    std::optional<std::string> readsAs; // none: refused
};

std::string fill (const Carrier& c, const std::string& inside, const std::string& number = {}, const std::string& ccEntry = {}, const std::string& version = "1.1")
{
    auto text = replaced (c.document, "{in}", inside);
    text = replaced (text, "{num}", number.empty() ? std::string() : replaced (c.numberEntry, "%", number));
    text = replaced (text, "{cc}", ccEntry);
    return replaced (text, "{ver}", version);
}

std::vector<Row> rowsFor (const Carrier& c, const fs::path& fifo)
{
    const auto clean = fill (c, {});
    std::string bomb = "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">";

    for (char e = 'b'; e <= 'j'; ++e)
        bomb += std::string ("<!ENTITY ") + e + " \"" + repeated (std::string ("&") + (char) (e - 1) + ";", 10) + "\">";

    bomb += "]>";

    std::vector<Row> rows{
        {"a processing instruction followed by text", fill (c, "<?x?>y"), clean},
        {"<a>&#x</a> 30000 times", fill (c, repeated ("<a>&#x</a>", 30000)), {}},
        {"a number of 1e9999999999", fill (c, {}, "1e9999999999"), clean},
        {"33 levels", fill (c, repeated ("<n>", 32) + repeated ("</n>", 32)), {}},
        {"100000 levels", fill (c, repeated ("<n>", 99999) + repeated ("</n>", 99999)), {}},
        {"9 MB", fill (c, "<!--" + std::string (9 * 1024 * 1024, 'x') + "-->"), {}},
        {"an entity expansion bomb", bomb + fill (c, "&j;"), {}},
        {"an external entity naming a local file", "<!DOCTYPE r [<!ENTITY e SYSTEM \"file://" + fifo.string() + "\">]>" + fill (c, "&e;"), {}},
    };

    if (c.way == Way::drumMapFile)
        rows.push_back ({"drum map version 2.0", fill (c, {}, {}, {}, "2.0"), {}});

    if (c.way == Way::midiMapFile)
        rows.push_back ({"CC x1", fill (c, {}, "x1"), clean});

    if (c.way == Way::stateChunk)
    {
        // Only the damaged child is left out.
        rows.push_back ({"drum map version 2.0", fill (c, {}, {}, {}, "2.0"), replaced (clean, "<DrumMap application=\"Pulsaret\" ver=\"1.1\" name=\"M\"><assign midiKey=\"37\" instrument=\"BD\"/></DrumMap>", "")});
        rows.push_back ({"CC x1", fill (c, {}, {}, "<assign CC=\"x1\" param=\"Bass Drum Tune\"/>"), clean});
    }

    return rows;
}

const Carrier carriers[] = {
    {"state chunk", Way::stateChunk,
     "<PluginState application=\"Pulsaret\">{in}<ParametersState><param name=\"Bass Drum Level\" value=\"0.25\"/>{num}</ParametersState>"
     "<MidiControlMap name=\"Pulsaret\"><assign CC=\"7\" param=\"Main Volume\"/>{cc}</MidiControlMap>"
     "<DrumMap application=\"Pulsaret\" ver=\"{ver}\" name=\"M\"><assign midiKey=\"37\" instrument=\"BD\"/></DrumMap></PluginState>",
     "<param name=\"Snare Drum Level\" value=\"%\"/>"},
    {"program chunk", Way::programChunk, "<Preset application=\"Pulsaret\" name=\"P\">{in}<param name=\"Bass Drum Level\" value=\"0.25\"/>{num}</Preset>",
     "<param name=\"Snare Drum Level\" value=\"%\"/>"},
    {"settings file", Way::settingsFile,
     "<UserSettings application=\"Pulsaret\">{in}<AudioOutputSettings><OutAssignations><BD out=\"2\"/>{num}</OutAssignations></AudioOutputSettings></UserSettings>",
     "<SD out=\"%\"/>"},
    {"preset bank file", Way::presetBankFile,
     "<PresetBank name=\"B\">{in}<PresetGroup name=\"G\"><Preset application=\"Pulsaret\" name=\"P\"><param name=\"Bass Drum Level\" value=\"0.25\"/>{num}</Preset></PresetGroup></PresetBank>",
     "<param name=\"Snare Drum Level\" value=\"%\"/>", ".PXprsb", "<Presets default=\"userDefinedPresets\" file=\"%\"/>"},
    {"pattern bank file", Way::patternBankFile,
     "<PatternBank>{in}<Pattern application=\"Pulsaret\" name=\"P\" length=\"8\"{num}><BD>o...o...</BD></Pattern></PatternBank>", " tempo=\"%\"", ".PXptrb",
     "<DMSeqRes><Patterns default=\"userDefinedPatterns\" file=\"%\"/></DMSeqRes>"},
    {"drum map file", Way::drumMapFile,
     "<DrumMap application=\"Pulsaret\" ver=\"{ver}\" name=\"M\">{in}<assign midiKey=\"37\" instrument=\"BD\"/>{num}</DrumMap>",
     "<assign midiKey=\"%\" instrument=\"SD\"/>", ".PXdrmap", "<DrumMap default=\"userDefinedDrumMap\" file=\"%\"/>"},
    {"MIDI map file", Way::midiMapFile, "<MidiControlMap name=\"Pulsaret\">{in}<assign CC=\"7\" param=\"Main Volume\"/>{num}</MidiControlMap>",
     "<assign CC=\"%\" param=\"Bass Drum Tune\"/>", ".PXccmap", "<MidiCCMap default=\"userDefinedMidiCCMap\" file=\"%\"/>"},
    {"preset file", Way::presetFile, "<Preset application=\"Pulsaret\" name=\"P\">{in}<param name=\"Bass Drum Level\" value=\"0.25\"/>{num}</Preset>",
     "<param name=\"Snare Drum Level\" value=\"%\"/>", ".PXprs"},
    {"pattern file", Way::patternFile, "<Pattern application=\"Pulsaret\" name=\"P\" length=\"8\"{num}>{in}<BD>o...o...</BD></Pattern>", " tempo=\"%\"", ".PXptr"},
};

/** The state of an instance that read the document (none: no document) the way the carrier says. */
class Reader
{
public:
    virtual ~Reader() = default;
    /** The state chunk after reading; accepted tells whether the product took the document. */
    virtual std::vector<uint8_t> read (const std::optional<std::string>& text, bool& accepted) = 0;
};

/** The chunks, through the entry point of a private copy of the library. */
class ChunkReader : public Reader
{
public:
    explicit ChunkReader (bool programChunk)
        : program (programChunk)
    {
        if (host.load (copy.getPath().string()))
            host.start (48000.0, 512);

        baseline = host.getChunk();
    }

    std::vector<uint8_t> read (const std::optional<std::string>& text, bool& accepted) override
    {
        host.setChunk (baseline);
        accepted = text.has_value() && host.setChunk (chunkOf (*text), program) == 1;
        return host.getChunk();
    }

private:
    const bool program;
    pulsaret_vst_test::PluginCopy copy{{}};
    OfflineHost host;
    std::vector<uint8_t> baseline;
};

/** The settings file beside a private copy of the library, or a file it names, through pulsaret-render:
    the state the tool saves after a short render. */
class RenderToolReader : public Reader
{
public:
    explicit RenderToolReader (const Carrier& c)
        : carrier (c)
        , folder (copy.getPath().parent_path())
    {
    }

    std::vector<uint8_t> read (const std::optional<std::string>& text, bool& accepted) override
    {
        const auto settings = folder / "Pulsaret.ini";
        const auto file = folder / (std::string ("user") + carrier.extension);
        std::error_code ignored;
        fs::remove (settings, ignored);
        fs::remove (file, ignored);

        if (carrier.way == Way::settingsFile)
        {
            if (text.has_value())
                writeText (settings, *text);
        }
        else
        {
            // No document: the settings name a file that is not there.
            writeText (settings, "<UserSettings application=\"Pulsaret\"><ResourcesSettings>"
                                     + replaced (carrier.resourceSetting, "%", (text.has_value() ? file : folder / "missing").string())
                                     + "</ResourcesSettings></UserSettings>");

            if (text.has_value())
                writeText (file, *text);
        }

        const auto state = folder / "saved.state";
        juce::ChildProcess tool;
        accepted = true; // the tool has no word on it: the state tells

        if (!tool.start (juce::StringArray{PULSARET_RENDER, copy.getPath().string(), (folder / "out.wav").string(), "--beats", "0.25", "--save-state", state.string()}))
            return {};

        const auto output = tool.readAllProcessOutput();

        if (!tool.waitForProcessToFinish (20000) || tool.getExitCode() != 0)
        {
            ADD_FAILURE() << carrier.name << ": pulsaret-render failed: " << output;
            tool.kill();
            return {};
        }

        auto saved = readBytes (state);
        fs::remove (state, ignored);
        return saved;
    }

private:
    const Carrier& carrier;
    pulsaret_vst_test::PluginCopy copy{{}};
    const fs::path folder;
};

/** The files that only the editor's choosers load, into the instance as the choosers load them. */
class ChooserReader : public Reader
{
public:
    explicit ChooserReader (const Carrier& c)
        : carrier (c)
    {
        host.plugin->getStateInformation (baseline);
    }

    std::vector<uint8_t> read (const std::optional<std::string>& text, bool& accepted) override
    {
        auto& plugin = *host.plugin;
        plugin.setStateInformation (baseline.getData(), (int) baseline.getSize());
        accepted = false;

        if (text.has_value())
        {
            const auto file = host.folder.getChildFile (juce::String ("user") + carrier.extension);
            file.replaceWithData (text->data(), text->size());
            accepted = carrier.way == Way::presetFile ? plugin.loadPresetFile (file, plugin.getCurrentPreset())
                                                      : plugin.getSequencer()->loadPatternFile (plugin.getSequencer()->getEditedPatternIndex(), file);
        }

        juce::MemoryBlock state;
        plugin.getStateInformation (state);
        const auto* bytes = static_cast<const uint8_t*> (state.getData());
        return std::vector<uint8_t> (bytes, bytes + state.getSize());
    }

private:
    const Carrier& carrier;
    PulsaretTestHost host;
    juce::MemoryBlock baseline;
};

std::unique_ptr<Reader> readerFor (const Carrier& c)
{
    switch (c.way)
    {
        case Way::stateChunk: return std::make_unique<ChunkReader> (false);
        case Way::programChunk: return std::make_unique<ChunkReader> (true);
        case Way::presetFile:
        case Way::patternFile: return std::make_unique<ChooserReader> (c);
        default: return std::make_unique<RenderToolReader> (c);
    }
}

// The chunks say whether they were taken; the settings file and the files it names leave no word.
bool saysWhetherTaken (Way way)
{
    return way == Way::stateChunk || way == Way::programChunk || way == Way::presetFile || way == Way::patternFile;
}
} // namespace

TEST (DamagedDocuments, EveryWayInLeavesTheStateOrReadsTheWellFormedPart)
{
    // Anything that opened this to read it would wait for a writer for ever.
    const auto folder = fs::temp_directory_path() / ("pulsaret-damaged-" + std::to_string (::getpid()));
    fs::create_directories (folder);
    const auto fifo = folder / "secret";
    ASSERT_EQ (::mkfifo (fifo.c_str(), 0600), 0);
    // The slowest row through pulsaret-render (which counts the tool's own start) and of the others.
    double slowest[2] = {0.0, 0.0};
    std::string slowestRow[2];

    for (const auto& carrier : carriers)
    {
        const auto reader = readerFor (carrier);
        bool accepted = false;
        const auto untouched = reader->read (std::nullopt, accepted);
        ASSERT_GT (untouched.size(), 1000u) << carrier.name;
        std::map<std::string, std::vector<uint8_t>> wellFormed;

        for (const auto& row : rowsFor (carrier, fifo))
        {
            const auto name = std::string (carrier.name) + ", " + row.name;
            std::vector<uint8_t> state;
            {
                const Watchdog watchdog (name);
                const auto start = SteadyClock::now();
                state = reader->read (row.text, accepted);
                const double seconds = std::chrono::duration<double> (SteadyClock::now() - start).count();

                const int tool = saysWhetherTaken (carrier.way) ? 0 : 1;

                if (seconds > slowest[tool])
                {
                    slowest[tool] = seconds;
                    slowestRow[tool] = name;
                }
            }

            if (!row.readsAs.has_value())
            {
                EXPECT_TRUE (state == untouched) << name;

                if (saysWhetherTaken (carrier.way))
                {
                    EXPECT_FALSE (accepted) << name;
                }

                continue;
            }

            if (wellFormed.count (*row.readsAs) == 0)
            {
                bool taken = false;
                wellFormed[*row.readsAs] = reader->read (*row.readsAs, taken);
                ASSERT_TRUE (wellFormed[*row.readsAs] != untouched) << name << ": the well-formed document must change something";
            }

            EXPECT_TRUE (state == wellFormed[*row.readsAs]) << name;

            if (saysWhetherTaken (carrier.way))
            {
                EXPECT_TRUE (accepted) << name;
            }
        }
    }

    // Nothing opened the pipe: a writer finds no reader waiting on it.
    const int writer = ::open (fifo.c_str(), O_WRONLY | O_NONBLOCK);
    EXPECT_EQ (writer, -1);

    if (writer >= 0)
        ::close (writer);

    fs::remove_all (folder);
    std::printf ("slowest row in the instance: %s, %.3f s; through pulsaret-render, with its start: %s, %.3f s\n", slowestRow[0].c_str(), slowest[0],
                 slowestRow[1].c_str(), slowest[1]);
}
