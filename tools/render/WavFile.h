#pragma once

#include <string>
#include <vector>

/** Writes the plain WAV files the offline host produces: 16-bit PCM, interleaved, dithered by nothing. */
namespace WavFile
{
bool write (const std::string& path, const std::vector<std::vector<float>>& channels, double sampleRate);
} // namespace WavFile
