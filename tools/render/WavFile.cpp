#include "tools/render/WavFile.h"

#include "tools/render/AtomicFile.h"

#include <cmath>
#include <cstdint>

namespace
{
void put16 (std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back ((uint8_t) (v & 0xff));
    out.push_back ((uint8_t) ((v >> 8) & 0xff));
}

void put32 (std::vector<uint8_t>& out, uint32_t v)
{
    put16 (out, v & 0xffff);
    put16 (out, v >> 16);
}

void putTag (std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back ((uint8_t) tag[i]);
}
} // namespace

bool WavFile::write (const std::string& path, const std::vector<std::vector<float>>& channels, double sampleRate)
{
    if (channels.empty())
        return false;

    const auto numChannels = (uint32_t) channels.size();
    const auto numFrames = channels[0].size();

    // The RIFF sizes are 32 bits: a longer file would carry a wrong header.
    if (numChannels > 0xffffu || numFrames > (0xffffffffu - 36u) / (numChannels * 2u))
        return false;

    const auto dataBytes = (uint32_t) (numFrames * numChannels * 2);
    const auto rate = (uint32_t) std::lround (sampleRate);

    std::vector<uint8_t> out;
    out.reserve (44 + dataBytes);
    putTag (out, "RIFF");
    put32 (out, 36 + dataBytes);
    putTag (out, "WAVE");
    putTag (out, "fmt ");
    put32 (out, 16);
    put16 (out, 1);
    put16 (out, numChannels);
    put32 (out, rate);
    put32 (out, rate * numChannels * 2);
    put16 (out, numChannels * 2);
    put16 (out, 16);
    putTag (out, "data");
    put32 (out, dataBytes);

    for (size_t i = 0; i < numFrames; ++i)
    {
        for (const auto& ch : channels)
        {
            const float s = i < ch.size() && std::isfinite (ch[i]) ? ch[i] : 0.0f;
            const auto v = (int16_t) std::lround (std::fmax (-1.0f, std::fmin (1.0f, s)) * 32767.0f);
            put16 (out, (uint16_t) v);
        }
    }

    return AtomicFile::write (path, out);
}
