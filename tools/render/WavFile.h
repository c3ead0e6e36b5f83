#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

/** Writes the plain WAV files the offline host produces: 16-bit PCM, interleaved, dithered by nothing.
    The length is known before the first sample, so the header goes first and the samples follow as they
    are rendered: a render holds one stretch of samples, however long the file. The file grows beside its
    target and `commit` moves it into place; a writer that ends without that removes what it wrote. */
class WavFile
{
public:
    WavFile() = default;
    ~WavFile();

    /** The most frames a file of this many channels holds: its RIFF sizes are 32 bits. */
    static uint64_t maxFrames (uint32_t numChannels);

    /** False, writing nothing, for no channel or more frames than the header can say. */
    bool open (const std::string& path, uint32_t numChannels, uint64_t numFrames, double sampleRate);

    /** The next frames, one vector per channel, all of one length; false once anything failed or the
        frames would pass the length given to `open`. */
    bool append (const std::vector<std::vector<float>>& channels);

    /** True when every frame promised was written and the file is in place. */
    bool commit();

private:
    void discard();

    std::string path, temporary;
    FILE* file = nullptr;
    uint32_t numChannels = 0;
    uint64_t framesLeft = 0;
    bool failed = false;
    std::vector<uint8_t> buffer;

    WavFile (const WavFile&) = delete;
    WavFile& operator= (const WavFile&) = delete;
};
