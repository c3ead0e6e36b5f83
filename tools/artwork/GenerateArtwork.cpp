// Writes the toolkit's images as PNG files into a folder (resources/toolkit by
// default). Run after changing ToolkitArtwork, then commit the files.
#include "ToolkitArtwork.h"

#include <iostream>

namespace
{
juce::uint32 crc32 (const juce::uint8* data, size_t size)
{
    juce::uint32 crc = 0xffffffff;

    for (size_t i = 0; i < size; ++i)
    {
        crc ^= data[i];

        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }

    return ~crc;
}

void writeBigEndian (juce::MemoryOutputStream& out, juce::uint32 value)
{
    out.writeByte ((char) (value >> 24));
    out.writeByte ((char) (value >> 16));
    out.writeByte ((char) (value >> 8));
    out.writeByte ((char) value);
}

/** Grows a PNG file to exactly targetSize bytes with a "Comment" text chunk placed
    before the closing IEND chunk; false when the file is already too big for that. */
bool padPng (juce::MemoryBlock& png, size_t targetSize)
{
    constexpr size_t iendSize = 12;
    constexpr size_t chunkOverhead = 12;
    const juce::String keyword ("Comment");
    const size_t minimum = chunkOverhead + (size_t) keyword.length() + 1;

    if (png.getSize() == targetSize)
        return true;

    if (png.getSize() + minimum > targetSize || png.getSize() < 8 + iendSize)
        return false;

    const size_t dataSize = targetSize - png.getSize() - chunkOverhead;
    juce::MemoryOutputStream chunk;
    writeBigEndian (chunk, (juce::uint32) dataSize);
    chunk.write ("tEXt", 4);
    chunk.write (keyword.toRawUTF8(), (size_t) keyword.length());
    chunk.writeByte (0);

    while (chunk.getDataSize() < 8 + dataSize)
        chunk.writeByte ('.');

    const auto* bytes = static_cast<const juce::uint8*> (chunk.getData());
    writeBigEndian (chunk, crc32 (bytes + 4, 4 + dataSize));

    juce::MemoryOutputStream out;
    out.write (png.getData(), png.getSize() - iendSize);
    out << chunk.getMemoryBlock();
    out.write (static_cast<const char*> (png.getData()) + png.getSize() - iendSize, iendSize);
    png = out.getMemoryBlock();
    return png.getSize() == targetSize;
}
} // namespace

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    const juce::File folder (argc > 1 ? juce::String (argv[1])
                                      : juce::File::getCurrentWorkingDirectory().getChildFile ("resources/toolkit").getFullPathName());

    if (!folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }

    int written = 0;

    for (const auto& [name, image] : ToolkitArtwork::renderAll())
    {
        juce::MemoryOutputStream png;

        if (!image.isValid() || !juce::PNGImageFormat().writeImageToStream (image, png))
        {
            std::cerr << "cannot encode " << name << "\n";
            return 1;
        }

        auto bytes = png.getMemoryBlock();
        const auto fixedSize = ToolkitArtwork::fixedFileSize (name);

        if (fixedSize > 0 && !padPng (bytes, (size_t) fixedSize))
        {
            std::cerr << name << " is " << bytes.getSize() << " bytes, more than its " << fixedSize << "\n";
            return 1;
        }

        juce::TemporaryFile temp (folder.getChildFile (name));

        if (!temp.getFile().replaceWithData (bytes.getData(), bytes.getSize()) || !temp.overwriteTargetFileWithTemporary())
        {
            std::cerr << "cannot write " << name << "\n";
            return 1;
        }

        ++written;
    }

    std::cout << written << " images in " << folder.getFullPathName() << "\n";
    return 0;
}
