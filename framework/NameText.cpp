#include "framework/NameText.h"

bool isNameCharacter (juce::juce_wchar character) noexcept
{
    const auto c = (juce::uint32) character;

    return c >= 0x20 && c != 0x7f
           && !(c >= 0xd800 && c <= 0xdfff)
           && c != 0xfffe && c != 0xffff
           && c <= 0x10ffff;
}

juce::String cleanName (const juce::String& name)
{
    auto p = name.getCharPointer();

    for (auto scan = p; !scan.isEmpty(); ++scan)
    {
        if (isNameCharacter (*scan))
            continue;

        // Only a name that holds such a character is rebuilt; the usual clean one is shared.
        juce::String cleaned;
        cleaned.preallocateBytes (name.getNumBytesAsUTF8());

        for (; !p.isEmpty(); ++p)
            if (isNameCharacter (*p))
                cleaned += *p;

        return cleaned;
    }

    return name;
}
