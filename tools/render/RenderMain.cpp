// pulsaret-render: plays a scenario through a VST 2.4 plug-in with the offline host and writes a WAV file.
// Whatever it cannot do as asked ends in one line naming the option and its value, a non-zero exit and no
// output file: a script that calls it must never take a wrong render for the one it asked for.

#include "tools/render/AtomicFile.h"
#include "tools/render/OfflineHost.h"
#include "tools/render/WavFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
constexpr int exitRefused = 2; // an argument the tool or the plug-in cannot take
constexpr int exitFailed = 1;  // loading the plug-in or writing a file failed

// Far above any state chunk a plug-in writes (ours is about 170 kB): the file is bounded before it is read.
constexpr uintmax_t maxStateBytes = 64 << 20;

// The file is written as it renders, a stretch of about this many frames at a time (whole blocks), so the
// samples a render holds do not grow with its length; the header alone bounds that.
constexpr int64_t stretchFrames = 65536;

// What one stretch may hold: the host's buffers and the plug-in's outputs (floats), the stereo mix and the
// file's 16-bit samples. Only a block far longer than a stretch comes near it.
constexpr uint64_t maxStretchBytes = 512u << 20;

void usage (FILE* to)
{
    std::fprintf (to,
                  "usage: pulsaret-render PLUGIN.so OUT.wav [options]\n"
                  "  --rate HZ            sample rate, 8000 to 384000 (48000)\n"
                  "  --block N            block size in samples, from 1 (512)\n"
                  "  --tempo BPM          host tempo, 1 to 999 (120)\n"
                  "  --beats N            length in beats, more than 0 (16)\n"
                  "  --play FROM:TO       host transport plays from beat FROM to beat TO (repeatable)\n"
                  "  --note BEAT:KEY[:VEL[:LEN]]  a MIDI note on channel 1: key 0 to 127, velocity 1 to 127 (100),\n"
                  "                       length in beats (0.25)\n"
                  "  --param INDEX=VALUE  sets a host parameter (0 to 1) before rendering\n"
                  "  --state FILE         restores a state chunk from FILE before rendering\n"
                  "  --save-state FILE    writes the state chunk to FILE after rendering\n"
                  "  --all-outputs        writes every output instead of a stereo mix\n"
                  "The WAV file is written as the render goes: its header bounds it to 4 GiB of samples.\n");
}

/** Says what was refused on one line and gives false, so that a parse can end with `return refuse (...)`. */
bool refuse (const std::string& option, const std::string& value, const char* reason)
{
    std::fprintf (stderr, "pulsaret-render: %s%s%s: %s\n", option.c_str(), value.empty() ? "" : " ", value.c_str(), reason);
    return false;
}

/** The whole text as one finite number; "12abc", "" and "nan" are none. */
bool parseNumber (const std::string& text, double& out)
{
    if (text.empty() || text[0] == ' ')
        return false;

    char* end = nullptr;
    out = std::strtod (text.c_str(), &end);
    return *end == 0 && std::isfinite (out);
}

bool parseWhole (const std::string& text, double min, double max, int& out)
{
    double v = 0.0;

    if (!parseNumber (text, v) || v != std::floor (v) || v < min || v > max)
        return false;

    out = (int) v;
    return true;
}

std::vector<std::string> splitFields (const std::string& text, char separator)
{
    std::vector<std::string> fields;

    for (size_t start = 0;;)
    {
        const auto end = text.find (separator, start);
        fields.push_back (text.substr (start, end - start));

        if (end == std::string::npos)
            return fields;

        start = end + 1;
    }
}

struct Note
{
    double beat;
    int key;
    int velocity;
    double length;
    std::string text;
};

struct Param
{
    int index;
    float value;
    std::string text;
};

struct Scenario
{
    std::string pluginPath, outPath;
    double rate = 48000.0, tempo = 120.0, beats = 16.0;
    int block = 512;
    std::string beatsText = "16", blockText = "512"; // as given, for a refusal to name
    bool allOutputs = false;
    std::string stateIn, stateOut;
    std::vector<std::pair<double, double>> playing; // beats
    std::vector<Note> notes;
    std::vector<Param> params;
};

bool parseNote (const std::string& value, Note& note)
{
    const auto fields = splitFields (value, ':');
    note = {0.0, 0, 100, 0.25, value};

    if (fields.size() < 2 || fields.size() > 4)
        return refuse ("--note", value, "expects BEAT:KEY[:VEL[:LEN]]");

    if (!parseNumber (fields[0], note.beat) || note.beat < 0.0)
        return refuse ("--note", value, "the beat must be a number from 0");

    if (!parseWhole (fields[1], 0, 127, note.key))
        return refuse ("--note", value, "the key must be a whole number from 0 to 127");

    if (fields.size() >= 3 && !parseWhole (fields[2], 1, 127, note.velocity))
        return refuse ("--note", value, "the velocity must be a whole number from 1 to 127");

    if (fields.size() == 4 && !(parseNumber (fields[3], note.length) && note.length > 0.0))
        return refuse ("--note", value, "the length must be more than 0 beats");

    return true;
}

bool parseOption (const std::string& option, const std::string& value, Scenario& s)
{
    if (option == "--rate")
        return (parseNumber (value, s.rate) && s.rate >= 8000.0 && s.rate <= 384000.0)
               || refuse (option, value, "the sample rate must be 8000 to 384000 Hz");

    if (option == "--block" || option == "--beats")
        (option == "--block" ? s.blockText : s.beatsText) = value;

    if (option == "--block")
        return parseWhole (value, 1, 0x7fffffff, s.block) || refuse (option, value, "the block size must be a whole number of samples from 1");

    if (option == "--tempo")
        return (parseNumber (value, s.tempo) && s.tempo >= 1.0 && s.tempo <= 999.0) || refuse (option, value, "the tempo must be 1 to 999 BPM");

    if (option == "--beats")
        return (parseNumber (value, s.beats) && s.beats > 0.0) || refuse (option, value, "the length must be more than 0 beats");

    if (option == "--state" || option == "--save-state")
    {
        (option == "--state" ? s.stateIn : s.stateOut) = value;
        return !value.empty() || refuse (option, value, "needs a file name");
    }

    if (option == "--play")
    {
        const auto fields = splitFields (value, ':');
        double from = 0.0, to = 0.0;

        if (fields.size() != 2 || !parseNumber (fields[0], from) || !parseNumber (fields[1], to) || from < 0.0 || to <= from)
            return refuse (option, value, "expects FROM:TO, beats from 0 with TO after FROM");

        s.playing.push_back ({from, to});
        return true;
    }

    if (option == "--note")
    {
        Note note;

        if (!parseNote (value, note))
            return false;

        s.notes.push_back (note);
        return true;
    }

    if (option == "--param")
    {
        const auto fields = splitFields (value, '=');
        Param p{0, 0.0f, value};
        double v = 0.0;

        if (fields.size() != 2 || !parseWhole (fields[0], 0, 0x7fffffff, p.index) || !parseNumber (fields[1], v))
            return refuse (option, value, "expects INDEX=VALUE");

        if (v < 0.0 || v > 1.0)
            return refuse (option, value, "the value must be 0 to 1");

        p.value = (float) v;
        s.params.push_back (p);
        return true;
    }

    return refuse (option, "", "unknown option");
}

bool parseArguments (int argc, char** argv, Scenario& s)
{
    s.pluginPath = argv[1];
    s.outPath = argv[2];

    for (int i = 3; i < argc; ++i)
    {
        const std::string option = argv[i];

        if (option == "--all-outputs")
            s.allOutputs = true;
        else if (i + 1 >= argc)
            return refuse (option, "", "needs a value");
        else if (!parseOption (option, argv[++i], s))
            return false;
    }

    // Known only once every option is read: a note that starts after the end would never sound.
    for (const auto& note : s.notes)
        if (note.beat >= s.beats)
            return refuse ("--note", note.text, "starts at or after the end of the render (--beats)");

    return true;
}

/** Parameters exist only once the plug-in is loaded. */
bool checkParameters (const Scenario& s, const OfflineHost& host)
{
    const auto numParams = host.getEffect()->numParams;

    for (const auto& p : s.params)
        if (p.index >= numParams)
        {
            const auto reason = "the plug-in has no parameter " + std::to_string (p.index) + " (it has "
                                + std::to_string (numParams) + ")";
            return refuse ("--param", p.text, reason.c_str());
        }

    return true;
}

/** A plug-in that says it took the chunk took it. One that says nothing (0, as many do whatever happened)
    took it only when it gives the same chunk back; the defaults it would otherwise play are not the state
    that was asked for. */
bool restoreState (const std::string& path, OfflineHost& host)
{
    std::error_code error;
    const bool isFile = std::filesystem::is_regular_file (path, error);
    const auto size = isFile ? std::filesystem::file_size (path, error) : 0;

    if (!isFile || error)
        return refuse ("--state", path, "cannot read the file");

    if (size == 0)
        return refuse ("--state", path, "the file is empty");

    if (size > maxStateBytes)
        return refuse ("--state", path, "the file is larger than 64 MiB, no state chunk");

    std::ifstream in (path, std::ios::binary);
    std::vector<uint8_t> chunk ((size_t) size);

    if (!in.read (reinterpret_cast<char*> (chunk.data()), (std::streamsize) size))
        return refuse ("--state", path, "cannot read the file");

    if ((host.getEffect()->flags & vst::EffectFlags::programChunks) == 0)
        return refuse ("--state", path, "the plug-in keeps no state chunks");

    if (host.setChunk (chunk) == 0 && host.getChunk() != chunk)
        return refuse ("--state", path, "the plug-in refused this state");

    return true;
}

/** The frames the render makes, or false when the file could not say its length or a stretch of blocks
    would hold more than maxStretchBytes. Known before the first block: a render that cannot end well
    never starts. */
bool checkLength (const Scenario& s, size_t numOutputs, uint32_t numChannels, bool mixing, uint64_t& numFrames)
{
    const double frames = std::round (s.beats * (60.0 / s.tempo * s.rate));
    const auto most = WavFile::maxFrames (numChannels);

    if (!(frames <= (double) most))
    {
        const auto reason = "the WAV file would be too long for its header: at most " + std::to_string (most)
                            + " frames of " + std::to_string (numChannels) + " channels";
        return refuse ("--beats", s.beatsText, reason.c_str());
    }

    numFrames = (uint64_t) frames;
    const auto perFrame = 8 * numOutputs + (mixing ? 4 * numChannels : 0) + 2 * numChannels;
    const auto stretch = std::min<uint64_t> ((uint64_t) std::max<int64_t> (s.block, stretchFrames), numFrames);

    if (stretch > 0 && perFrame > maxStretchBytes / stretch)
    {
        const auto reason = "a block would hold more than 512 MiB of samples: at most "
                            + std::to_string (maxStretchBytes / perFrame) + " frames with " + std::to_string (numOutputs)
                            + " outputs";
        return refuse ("--block", s.blockText, reason.c_str());
    }

    return true;
}

std::vector<std::vector<float>> mixToStereo (const std::vector<std::vector<float>>& outputs, bool stereo)
{
    // Stereo pairs go left and right; mono outputs go to both sides.
    std::vector<std::vector<float>> channels (2, std::vector<float> (outputs[0].size(), 0.0f));

    for (size_t ch = 0; ch < outputs.size(); ++ch)
        for (size_t i = 0; i < outputs[ch].size(); ++i)
        {
            if (stereo)
                channels[ch % 2][i] += outputs[ch][i];
            else
            {
                channels[0][i] += outputs[ch][i];
                channels[1][i] += outputs[ch][i];
            }
        }

    return channels;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc == 2 && std::string (argv[1]) == "--help")
    {
        usage (stdout);
        return 0;
    }

    if (argc < 3)
    {
        usage (stderr);
        return exitRefused;
    }

    Scenario s;

    if (!parseArguments (argc, argv, s))
        return exitRefused;

    OfflineHost host;

    // dlopen searches the library path for a name without a slash; a file name here means the file.
    if (!host.load (s.pluginPath.find ('/') == std::string::npos ? "./" + s.pluginPath : s.pluginPath))
    {
        std::fprintf (stderr, "pulsaret-render: cannot load %s: %s\n", s.pluginPath.c_str(), host.getError().c_str());
        return exitFailed;
    }

    if (host.getEffect()->numOutputs <= 0)
    {
        std::fprintf (stderr, "pulsaret-render: %s has no audio outputs\n", s.pluginPath.c_str());
        return exitFailed;
    }

    if (!checkParameters (s, host) || (!s.stateIn.empty() && !restoreState (s.stateIn, host)))
        return exitRefused;

    const auto numOutputs = (size_t) host.getEffect()->numOutputs;
    const bool mixing = !s.allOutputs && numOutputs > 2;
    const auto numChannels = (uint32_t) (mixing ? 2 : numOutputs);
    uint64_t numFrames = 0;

    if (!checkLength (s, numOutputs, numChannels, mixing, numFrames))
        return exitRefused;

    // Beats past the end (a --play range, a note's end) all land just after the last frame.
    const auto samplesPerBeat = 60.0 / s.tempo * s.rate;
    const auto toSample = [samplesPerBeat, numFrames] (double beat)
    { return (int64_t) std::llround (std::min (beat * samplesPerBeat, (double) numFrames + 1.0)); };
    OfflineHost::Transport transport;
    transport.tempo = s.tempo;

    for (const auto& range : s.playing)
        transport.playing.push_back ({toSample (range.first), toSample (range.second)});

    std::vector<OfflineHost::MidiEvent> events;

    for (const auto& note : s.notes)
    {
        const auto key = (uint8_t) note.key;
        events.push_back ({toSample (note.beat), {0x90, key, (uint8_t) note.velocity}});
        events.push_back ({toSample (note.beat + note.length), {0x80, key, 0}});
    }

    WavFile wav;

    if (!wav.open (s.outPath, numChannels, numFrames, s.rate))
    {
        std::fprintf (stderr, "pulsaret-render: cannot write %s\n", s.outPath.c_str());
        return exitFailed;
    }

    vst::VstPinProperties pin{};
    const bool stereoPins = mixing && host.dispatch (vst::EffectOpcode::getOutputProperties, 0, 0, &pin) != 0
                            && (pin.flags & vst::PinFlags::isStereo) != 0;

    for (const auto& p : s.params)
        host.setParameter (p.index, p.value);

    // Whole blocks in each stretch: the plug-in sees the blocks a single render would give it.
    const auto stretch = s.block >= stretchFrames ? (int64_t) s.block : s.block * (stretchFrames / s.block);
    bool written = true;
    host.start (s.rate, s.block);

    for (int64_t done = 0; done < (int64_t) numFrames && written; done += stretch)
    {
        const auto outputs = host.render (std::min (stretch, (int64_t) numFrames - done), s.block, events, transport, done);
        written = wav.append (mixing ? mixToStereo (outputs, stereoPins) : outputs);
    }

    host.stop();

    if (!s.stateOut.empty())
    {
        const auto chunk = host.getChunk();

        if (chunk.empty())
        {
            refuse ("--save-state", s.stateOut, "the plug-in gave no state chunk");
            return exitFailed;
        }

        if (!AtomicFile::write (s.stateOut, chunk))
        {
            refuse ("--save-state", s.stateOut, "cannot write the file");
            return exitFailed;
        }
    }

    host.unload();

    if (!written || !wav.commit())
    {
        std::fprintf (stderr, "pulsaret-render: cannot write %s\n", s.outPath.c_str());
        return exitFailed;
    }

    std::printf ("wrote %s: %u channels, %llu frames at %.0f Hz\n", s.outPath.c_str(), (unsigned) numChannels,
                 (unsigned long long) numFrames, s.rate);
    return 0;
}
