#include "gui/EmbeddedFonts.h"
#include "framework/EmbeddedResources.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

const juce::String EmbeddedFonts::familyName ("Tahoma");

namespace
{
/** A face read by FreeType straight from the embedded bytes. JUCE's own memory faces go
    through its font list, which first scans every system font folder (a fifth of a second
    at instance start-up, with no display in sight); ours never looks at the system's fonts.

    The free bold "Tahoma" draws its glyphs with the regular outlines and only wider
    advances, so bold text came out letter-spaced rather than heavy. The bold face keeps
    those advances (text measures the same) and thickens each outline. */
class EmbeddedTypeface : public juce::CustomTypeface
{
public:
    EmbeddedTypeface (std::unique_ptr<juce::MemoryBlock> fontData, bool emboldened)
        : data (std::move (fontData))
        , kerned (!emboldened)
    {
        if (data == nullptr || FT_Init_FreeType (&library) != 0)
            return;

        if (FT_New_Memory_Face (library, static_cast<const FT_Byte*> (data->getData()), (FT_Long) data->getSize(), 0, &face) != 0)
        {
            face = nullptr;
            return;
        }

        FT_Select_Charmap (face, FT_ENCODING_UNICODE);
        const auto height = (float) (face->ascender - face->descender);
        scale = 1.0f / height;
        // About three quarters of a pixel more stem at the toolkit's 13-pixel text.
        strength = emboldened ? (FT_Pos) (height * 0.055f) : 0;
        setCharacteristics (face->family_name, face->style_name, (float) face->ascender * scale, L' ');
    }

    ~EmbeddedTypeface() override
    {
        if (face != nullptr)
            FT_Done_Face (face);

        if (library != nullptr)
            FT_Done_FreeType (library);
    }

    bool isValid() const noexcept { return face != nullptr; }

protected:
    bool loadGlyphIfPossible (juce::juce_wchar character) override
    {
        if (face == nullptr)
            return false;

        const auto index = FT_Get_Char_Index (face, (FT_ULong) character);

        if (FT_Load_Glyph (face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0 || face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            return false;

        auto& outline = face->glyph->outline;

        if (strength != 0 && outline.n_points > 0 && FT_Outline_Embolden (&outline, strength) != 0)
            return false;

        juce::Path shape;

        if (!decompose (outline, shape))
            return false;

        addGlyph (character, shape, (float) face->glyph->metrics.horiAdvance * scale);

        if (kerned && FT_HAS_KERNING (face))
            addKerningAfter (character, index);

        return true;
    }

private:
    /** The face's kerning of this glyph against every character it maps. */
    void addKerningAfter (juce::juce_wchar character, FT_UInt index)
    {
        FT_UInt rightIndex = 0;

        for (auto right = FT_Get_First_Char (face, &rightIndex); rightIndex != 0; right = FT_Get_Next_Char (face, right, &rightIndex))
        {
            FT_Vector kerning{};

            if (FT_Get_Kerning (face, index, rightIndex, FT_KERNING_UNSCALED, &kerning) == 0 && kerning.x != 0)
                addKerningPair (character, (juce::juce_wchar) right, (float) kerning.x * scale);
        }
    }

    struct Walk
    {
        juce::Path& path;
        float scale;

        juce::Point<float> point (const FT_Vector* v) const { return {(float) v->x * scale, -(float) v->y * scale}; }
    };

    static int moveTo (const FT_Vector* to, void* user)
    {
        auto& w = *static_cast<Walk*> (user);

        if (!w.path.isEmpty())
            w.path.closeSubPath();

        w.path.startNewSubPath (w.point (to));
        return 0;
    }

    static int lineTo (const FT_Vector* to, void* user)
    {
        auto& w = *static_cast<Walk*> (user);
        w.path.lineTo (w.point (to));
        return 0;
    }

    static int conicTo (const FT_Vector* control, const FT_Vector* to, void* user)
    {
        auto& w = *static_cast<Walk*> (user);
        w.path.quadraticTo (w.point (control), w.point (to));
        return 0;
    }

    static int cubicTo (const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
    {
        auto& w = *static_cast<Walk*> (user);
        w.path.cubicTo (w.point (c1), w.point (c2), w.point (to));
        return 0;
    }

    bool decompose (FT_Outline& outline, juce::Path& shape) const
    {
        const FT_Outline_Funcs funcs{moveTo, lineTo, conicTo, cubicTo, 0, 0};
        Walk walk{shape, scale};

        if (FT_Outline_Decompose (&outline, &funcs, &walk) != 0)
            return false;

        if (!shape.isEmpty())
            shape.closeSubPath();

        return true;
    }

    std::unique_ptr<juce::MemoryBlock> data; // FreeType reads the face from here
    const bool kerned;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    float scale = 1.0f;
    FT_Pos strength = 0;
};

juce::Typeface::Ptr loadFace (const char* resourceName, bool emboldened)
{
    juce::ReferenceCountedObjectPtr<EmbeddedTypeface> face (new EmbeddedTypeface (getResourceData (resourceName), emboldened));

    if (face->isValid())
        return face;

    return nullptr;
}
} // namespace

juce::Typeface::Ptr EmbeddedFonts::getFace (bool bold)
{
    // Function statics: decoded on first use, safe to reach from any thread.
    static const juce::Typeface::Ptr regular = loadFace ("tahoma.ttf", false);
    static const juce::Typeface::Ptr boldFace = loadFace ("tahomabd.ttf", true);
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
