#include "tools/render/AtomicFile.h"

#include <cstdio>

bool AtomicFile::write (const std::string& path, const std::vector<uint8_t>& bytes)
{
    const std::string temporary = path + ".partial";
    FILE* f = std::fopen (temporary.c_str(), "wb");

    if (f == nullptr)
        return false;

    const bool ok = std::fwrite (bytes.data(), 1, bytes.size(), f) == bytes.size();

    if (std::fclose (f) != 0 || !ok || std::rename (temporary.c_str(), path.c_str()) != 0)
    {
        std::remove (temporary.c_str());
        return false;
    }

    return true;
}
