#pragma once

#include <juce_graphics/juce_graphics.h>

/** The toolkit's "Tahoma" regular and bold faces, decoded once from the library's
    own resources, so that text is measured and drawn alike on every machine. */
class EmbeddedFonts
{
public:
    /** The face for a font named "Tahoma" (bold when the font is bold), or null
        for any other name or when the resource is missing. */
    static juce::Typeface::Ptr getTypefaceFor (const juce::Font& font);

    /** A "Tahoma" font of the given height and style flags that carries its face
        with it, so it does not depend on which look and feel is the default. */
    static juce::Font tahoma (float height, int styleFlags = juce::Font::plain);

    /** The same font as the given one with a different style, keeping the embedded
        face when the font is a "Tahoma". */
    static juce::Font withStyle (const juce::Font& font, int styleFlags);

    static const juce::String familyName;

private:
    static juce::Typeface::Ptr getFace (bool bold);
};
