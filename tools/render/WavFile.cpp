#include "tools/render/WavFile.h"

#include <cmath>

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

WavFile::~WavFile()
{
    discard();
}

uint64_t WavFile::maxFrames (uint32_t channels)
{
    // The RIFF size counts the 36 header bytes after it as well as the samples.
    return channels == 0 || channels > 0xffffu ? 0 : (0xffffffffu - 36u) / (channels * 2u);
}

bool WavFile::open (const std::string& target, uint32_t channels, uint64_t numFrames, double sampleRate)
{
    discard();

    if (numFrames > maxFrames (channels))
        return false;

    path = target;
    temporary = target + ".partial";
    file = std::fopen (temporary.c_str(), "wb");

    if (file == nullptr)
        return false;

    numChannels = channels;
    framesLeft = numFrames;
    failed = false;

    const auto dataBytes = (uint32_t) (numFrames * channels * 2);
    const auto rate = (uint32_t) std::lround (sampleRate);
    std::vector<uint8_t> header;
    putTag (header, "RIFF");
    put32 (header, 36 + dataBytes);
    putTag (header, "WAVE");
    putTag (header, "fmt ");
    put32 (header, 16);
    put16 (header, 1);
    put16 (header, channels);
    put32 (header, rate);
    put32 (header, rate * channels * 2);
    put16 (header, channels * 2);
    put16 (header, 16);
    putTag (header, "data");
    put32 (header, dataBytes);
    failed = std::fwrite (header.data(), 1, header.size(), file) != header.size();
    return !failed;
}

bool WavFile::append (const std::vector<std::vector<float>>& channels)
{
    const auto numFrames = channels.empty() ? (size_t) 0 : channels[0].size();

    if (file == nullptr || failed || channels.size() != numChannels || numFrames > framesLeft)
    {
        failed = true;
        return false;
    }

    buffer.clear();
    buffer.reserve (numFrames * numChannels * 2);

    for (size_t i = 0; i < numFrames; ++i)
    {
        for (const auto& ch : channels)
        {
            const float s = i < ch.size() && std::isfinite (ch[i]) ? ch[i] : 0.0f;
            const auto v = (int16_t) std::lround (std::fmax (-1.0f, std::fmin (1.0f, s)) * 32767.0f);
            put16 (buffer, (uint16_t) v);
        }
    }

    framesLeft -= numFrames;
    failed = std::fwrite (buffer.data(), 1, buffer.size(), file) != buffer.size();
    return !failed;
}

bool WavFile::commit()
{
    if (file == nullptr)
        return false;

    const bool written = !failed && framesLeft == 0;
    const bool closed = std::fclose (file) == 0;
    file = nullptr;

    if (!written || !closed || std::rename (temporary.c_str(), path.c_str()) != 0)
    {
        std::remove (temporary.c_str());
        return false;
    }

    return true;
}

void WavFile::discard()
{
    if (file == nullptr)
        return;

    std::fclose (file);
    file = nullptr;
    std::remove (temporary.c_str());
}
