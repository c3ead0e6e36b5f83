// pulsaret-render: plays a scenario through a VST 2.4 plug-in with the offline host and writes a WAV file.

#include "tools/render/OfflineHost.h"
#include "tools/render/WavFile.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace
{
void usage()
{
    std::fprintf (stderr,
                  "usage: pulsaret-render PLUGIN.so OUT.wav [options]\n"
                  "  --rate HZ            sample rate (48000)\n"
                  "  --block N            block size (512)\n"
                  "  --tempo BPM          host tempo (120)\n"
                  "  --beats N            length in beats (16)\n"
                  "  --play FROM:TO       host transport plays from beat FROM to beat TO (repeatable)\n"
                  "  --note BEAT:KEY[:VEL[:LEN]]  a MIDI note on channel 1 (length in beats, 0.25)\n"
                  "  --param INDEX=VALUE  sets a host parameter (0..1) before rendering\n"
                  "  --state FILE         restores a state chunk from FILE before rendering\n"
                  "  --save-state FILE    writes the state chunk to FILE after rendering\n"
                  "  --all-outputs        writes every output instead of a stereo mix\n");
}

bool splitNumbers (const std::string& text, double* values, int maxValues, int& count)
{
    count = 0;
    const char* p = text.c_str();

    while (*p != 0 && count < maxValues)
    {
        char* end = nullptr;
        values[count++] = std::strtod (p, &end);

        if (end == p)
            return false;

        p = *end == ':' ? end + 1 : end;

        if (*end != ':' && *end != 0)
            return false;
    }

    return *p == 0;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc < 3)
    {
        usage();
        return 2;
    }

    const std::string pluginPath = argv[1], outPath = argv[2];
    double rate = 48000.0, tempo = 120.0, beats = 16.0;
    int block = 512;
    bool allOutputs = false;
    std::string stateIn, stateOut;
    OfflineHost::Transport transport;
    std::vector<std::pair<double, std::array<uint8_t, 3>>> notes; // beat, bytes
    std::vector<std::pair<int, float>> params;

    for (int i = 3; i < argc; ++i)
    {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        const std::string value = hasValue ? argv[i + 1] : "";
        double v[4] = {};
        int n = 0;

        if (arg == "--all-outputs")
        {
            allOutputs = true;
            continue;
        }

        if (!hasValue)
        {
            usage();
            return 2;
        }

        ++i;

        if (arg == "--rate")
            rate = std::atof (value.c_str());
        else if (arg == "--block")
            block = std::atoi (value.c_str());
        else if (arg == "--tempo")
            tempo = std::atof (value.c_str());
        else if (arg == "--beats")
            beats = std::atof (value.c_str());
        else if (arg == "--state")
            stateIn = value;
        else if (arg == "--save-state")
            stateOut = value;
        else if (arg == "--play" && splitNumbers (value, v, 2, n) && n == 2)
            transport.playing.push_back ({(int64_t) std::llround (v[0] * 60.0 / tempo * rate), (int64_t) std::llround (v[1] * 60.0 / tempo * rate)});
        else if (arg == "--note" && splitNumbers (value, v, 4, n) && n >= 2 && v[1] >= 0 && v[1] < 128)
        {
            const auto key = (uint8_t) v[1];
            const auto velocity = (uint8_t) (n >= 3 ? std::fmin (127.0, std::fmax (1.0, v[2])) : 100.0);
            const double length = n >= 4 ? v[3] : 0.25;
            notes.push_back ({v[0], {0x90, key, velocity}});
            notes.push_back ({v[0] + length, {0x80, key, 0}});
        }
        else if (arg == "--param" && value.find ('=') != std::string::npos)
            params.push_back ({std::atoi (value.c_str()), (float) std::atof (value.c_str() + value.find ('=') + 1)});
        else
        {
            usage();
            return 2;
        }
    }

    if (!(rate >= 8000.0 && rate <= 384000.0) || block <= 0 || !(tempo > 0.0) || !(beats > 0.0))
    {
        usage();
        return 2;
    }

    transport.tempo = tempo;
    const auto samplesPerBeat = 60.0 / tempo * rate;
    std::vector<OfflineHost::MidiEvent> events;

    for (const auto& note : notes)
        events.push_back ({(int64_t) std::llround (note.first * samplesPerBeat), note.second});

    OfflineHost host;

    if (!host.load (pluginPath))
    {
        std::fprintf (stderr, "cannot load %s: %s\n", pluginPath.c_str(), host.getError().c_str());
        return 1;
    }

    if (!stateIn.empty())
    {
        std::ifstream in (stateIn, std::ios::binary);
        const std::vector<uint8_t> chunk ((std::istreambuf_iterator<char> (in)), std::istreambuf_iterator<char>());

        if (chunk.empty())
        {
            std::fprintf (stderr, "cannot read %s\n", stateIn.c_str());
            return 1;
        }

        host.setChunk (chunk);
    }

    for (const auto& p : params)
        host.setParameter (p.first, p.second);

    host.start (rate, block);
    const auto outputs = host.render ((int64_t) std::llround (beats * samplesPerBeat), block, events, transport);
    host.stop();

    if (!stateOut.empty())
    {
        const auto chunk = host.getChunk();
        std::ofstream out (stateOut, std::ios::binary);
        out.write (reinterpret_cast<const char*> (chunk.data()), (std::streamsize) chunk.size());
    }

    std::vector<std::vector<float>> channels;

    if (allOutputs || outputs.size() <= 2)
        channels = outputs;
    else
    {
        // Stereo pairs go left and right; mono outputs go to both sides.
        channels.assign (2, std::vector<float> (outputs[0].size(), 0.0f));
        vst::VstPinProperties pin{};
        const bool stereo = host.dispatch (vst::EffectOpcode::getOutputProperties, 0, 0, &pin) != 0 && (pin.flags & vst::PinFlags::isStereo) != 0;

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
    }

    host.unload();

    if (!WavFile::write (outPath, channels, rate))
    {
        std::fprintf (stderr, "cannot write %s\n", outPath.c_str());
        return 1;
    }

    std::printf ("wrote %s: %zu channels, %zu frames at %.0f Hz\n", outPath.c_str(), channels.size(),
                 channels.empty() ? (size_t) 0 : channels[0].size(), rate);
    return 0;
}
