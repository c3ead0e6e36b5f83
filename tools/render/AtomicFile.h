#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** Writes a whole file beside its target and moves it into place: a failed write never leaves half a file,
    and an existing file stays as it was. */
namespace AtomicFile
{
bool write (const std::string& path, const std::vector<uint8_t>& bytes);
} // namespace AtomicFile
