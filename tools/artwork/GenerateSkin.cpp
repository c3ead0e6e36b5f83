// Writes the panel skin, skin.xml and every image it names, into a folder
// (resources/skin by default). Run after changing the layout table or the drawing,
// then commit the files: the build embeds them as they are.
#include "SkinArtwork.h"

#include <iostream>

namespace
{
bool replaceFile (const juce::File& file, const juce::MemoryBlock& bytes)
{
    juce::TemporaryFile temp (file);
    return temp.getFile().replaceWithData (bytes.getData(), bytes.getSize()) && temp.overwriteTargetFileWithTemporary();
}
} // namespace

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    const juce::File folder (argc > 1 ? juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (argv[1]))
                                      : juce::File::getCurrentWorkingDirectory().getChildFile ("resources/skin"));

    if (!folder.createDirectory())
    {
        std::cerr << "cannot create " << folder.getFullPathName() << "\n";
        return 1;
    }

    const auto layout = SkinLayout::build();
    juce::MemoryOutputStream xml;
    layout.createDocument()->writeTo (xml);

    if (!replaceFile (folder.getChildFile ("skin.xml"), xml.getMemoryBlock()))
    {
        std::cerr << "cannot write skin.xml\n";
        return 1;
    }

    int written = 1;

    for (const auto& [name, image] : SkinArtwork::renderAll (layout))
    {
        juce::MemoryOutputStream png;

        if (!image.isValid() || !juce::PNGImageFormat().writeImageToStream (image, png) || !replaceFile (folder.getChildFile (name), png.getMemoryBlock()))
        {
            std::cerr << "cannot write " << name << "\n";
            return 1;
        }

        ++written;
    }

    std::cout << written << " files in " << folder.getFullPathName() << "\n";
    return 0;
}
