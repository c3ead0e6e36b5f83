#include "gui/EmbeddedFonts.h"
#include "framework/EmbeddedResources.h"

const juce::String EmbeddedFonts::familyName ("Tahoma");

namespace
{
juce::Typeface::Ptr loadFace (const char* resourceName)
{
    if (auto data = getResourceData (resourceName))
        return juce::Typeface::createSystemTypefaceFor (data->getData(), data->getSize());

    return nullptr;
}
} // namespace

juce::Typeface::Ptr EmbeddedFonts::getFace (bool bold)
{
    // Function statics: decoded on first use, safe to reach from any thread.
    static const juce::Typeface::Ptr regular = loadFace ("tahoma.ttf");
    static const juce::Typeface::Ptr boldFace = loadFace ("tahomabd.ttf");
    return bold ? boldFace : regular;
}

juce::Typeface::Ptr EmbeddedFonts::getTypefaceFor (const juce::Font& font)
{
    if (font.getTypefaceName() != familyName)
        return nullptr;

    return getFace (font.isBold());
}

juce::Font EmbeddedFonts::tahoma (float height, int styleFlags)
{
    auto face = getFace ((styleFlags & juce::Font::bold) != 0);

    if (face == nullptr)
        return juce::Font (familyName, height, styleFlags);

    // The face names its own style ("Regular" or "Bold"); there is no italic face,
    // callers that want a slant shear the drawing themselves.
    juce::Font font (face);
    font.setHeight (height);
    font.setUnderline ((styleFlags & juce::Font::underlined) != 0);
    return font;
}

juce::Font EmbeddedFonts::withStyle (const juce::Font& font, int styleFlags)
{
    if (font.getTypefaceName() != familyName)
        return font.withStyle (styleFlags);

    return tahoma (font.getHeight(), styleFlags);
}
