#include "SkinArtwork.h"
#include "gui/EmbeddedFonts.h"

#include <array>

namespace
{
namespace Palette
{
const juce::Colour panel (0xff1e2024);
const juce::Colour plate (0xff2a2d33);
const juce::Colour legend (0xffe8e6e0);
const juce::Colour hint (0xff9aa0a8);
const juce::Colour teal (0xff2ec4b6);
const juce::Colour amber (0xffffa51f);
const juce::Colour red (0xffff4b4b);
const juce::Colour yellow (0xfff5d90a);
const juce::Colour green (0xff4cd964);
const juce::Colour glass (0xff0e1012);
const juce::Colour glyph (0xff9ff3ec);
const juce::Colour rubber (0xff3a3e46);
} // namespace Palette

constexpr float pi = juce::MathConstants<float>::pi;
constexpr float sweepStart = -0.75f * pi;
constexpr float sweep = 1.5f * pi;

juce::Image blank (int width, int height)
{
    return juce::Image (juce::Image::ARGB, width, height, true);
}

/** Draws frame k of a vertical filmstrip with the frame's own origin and clip. */
template <typename Draw>
juce::Image filmstrip (int width, int height, int frames, Draw&& draw)
{
    auto image = blank (width, height * frames);
    juce::Graphics g (image);

    for (int k = 0; k < frames; ++k)
    {
        juce::Graphics::ScopedSaveState state (g);
        g.setOrigin (0, height * k);
        g.reduceClipRegion (0, 0, width, height);
        draw (g, k);
    }

    return image;
}

juce::Font tahoma (float size, bool bold = true)
{
    return EmbeddedFonts::tahoma (size, bold ? juce::Font::bold : juce::Font::plain);
}

/** A rubber key: drop shadow, body shaded from the top, a thin lit top edge. Pressed keys
    sit one pixel lower, darker and without their shadow. Returns the key's face. */
juce::Rectangle<float> rubberKey (juce::Graphics& g, juce::Rectangle<float> area, bool pressed, juce::Colour body = Palette::rubber, float corner = 3.0f)
{
    auto key = area.withTrimmedBottom (1.0f).reduced (0.5f);

    if (!pressed)
    {
        g.setColour (juce::Colours::black.withAlpha (0.55f));
        g.fillRoundedRectangle (key.translated (0.0f, 1.0f), corner);
    }
    else
    {
        key = key.translated (0.0f, 1.0f);
        body = body.darker (0.25f);
    }

    g.setGradientFill (juce::ColourGradient (body.brighter (0.18f), 0.0f, key.getY(), body.darker (0.35f), 0.0f, key.getBottom(), false));
    g.fillRoundedRectangle (key, corner);

    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.drawRoundedRectangle (key, corner, 1.0f);

    if (!pressed)
    {
        g.setColour (juce::Colours::white.withAlpha (0.16f));
        g.drawHorizontalLine ((int) key.getY() + 1, key.getX() + corner, key.getRight() - corner);
    }

    return key;
}

/** An LED lens: dark when off, lit with a glow when on. */
void lens (juce::Graphics& g, juce::Rectangle<float> area, juce::Colour colour, bool on, bool round)
{
    const float corner = round ? area.getHeight() * 0.5f : 1.5f;

    g.setColour (juce::Colours::black.withAlpha (0.7f));
    g.fillRoundedRectangle (area.expanded (1.0f), corner + 1.0f);

    if (on)
    {
        g.setGradientFill (juce::ColourGradient (colour.brighter (0.6f), area.getCentreX(), area.getCentreY(), colour.darker (0.15f),
                                                 area.getX(), area.getY(), true));
        g.fillRoundedRectangle (area, corner);
        g.setColour (juce::Colours::white.withAlpha (0.55f));
        g.fillRoundedRectangle (area.withTrimmedBottom (area.getHeight() * 0.55f).reduced (area.getWidth() * 0.2f, 0.5f), corner * 0.5f);
    }
    else
    {
        g.setGradientFill (juce::ColourGradient (colour.darker (2.2f).withMultipliedSaturation (0.7f), 0.0f, area.getY(),
                                                 colour.darker (3.5f).withMultipliedSaturation (0.5f), 0.0f, area.getBottom(), false));
        g.fillRoundedRectangle (area, corner);
        g.setColour (juce::Colours::white.withAlpha (0.12f));
        g.fillRoundedRectangle (area.withTrimmedBottom (area.getHeight() * 0.6f).reduced (area.getWidth() * 0.25f, 0.5f), corner * 0.5f);
    }
}

void symbolText (juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area, float size, juce::Colour colour)
{
    g.setFont (tahoma (size));
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.drawText (text, area.translated (0.0f, 1.0f), juce::Justification::centred, false);
    g.setColour (colour);
    g.drawText (text, area, juce::Justification::centred, false);
}

juce::Path triangle (juce::Point<float> centre, float size, bool pointsRight)
{
    juce::Path p;
    const float h = size * 0.5f, w = size * 0.45f;
    const float tip = pointsRight ? w : -w;
    p.addTriangle (centre.x - tip, centre.y - h, centre.x - tip, centre.y + h, centre.x + tip, centre.y);
    return p;
}

void fillSymbol (juce::Graphics& g, const juce::Path& p, juce::Colour colour)
{
    g.setColour (juce::Colours::black.withAlpha (0.6f));
    g.fillPath (p, juce::AffineTransform::translation (0.0f, 1.0f));
    g.setColour (colour);
    g.fillPath (p);
}

/** A knob cap at an angle: shadow, skirt, metallic top and a white pointer. */
void drawCap (juce::Graphics& g, juce::Point<float> c, float radius, float angle, bool chickenHead)
{
    g.setGradientFill (juce::ColourGradient (juce::Colours::black.withAlpha (0.7f), c.x, c.y + 2.0f, juce::Colours::transparentBlack, c.x,
                                             c.y + 2.0f + radius + 3.0f, true));
    g.fillEllipse (juce::Rectangle<float> (2.0f * (radius + 3.0f), 2.0f * (radius + 3.0f)).withCentre (c.translated (0.0f, 2.0f)));

    const auto skirt = juce::Rectangle<float> (2.0f * radius, 2.0f * radius).withCentre (c);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff4a4f58), 0.0f, skirt.getY(), juce::Colour (0xff121316), 0.0f, skirt.getBottom(), false));
    g.fillEllipse (skirt);

    // Knurls on the skirt turn with the knob.
    g.setColour (juce::Colours::black.withAlpha (0.35f));

    for (int i = 0; i < 24; ++i)
    {
        const float a = angle + 2.0f * pi * (float) i / 24.0f;
        g.drawLine (juce::Line<float> (c.getPointOnCircumference (radius * 0.84f, a), c.getPointOnCircumference (radius - 0.5f, a)), 0.8f);
    }

    const float faceRadius = radius * 0.76f;
    const auto face = juce::Rectangle<float> (2.0f * faceRadius, 2.0f * faceRadius).withCentre (c);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.drawEllipse (face.expanded (0.5f), 1.0f);
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff8b919b), face.getX(), face.getY(), juce::Colour (0xff2b2e34), face.getRight(),
                                             face.getBottom(), false));
    g.fillEllipse (face);
    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.28f), c.x - faceRadius * 0.3f, c.y - faceRadius * 0.45f,
                                             juce::Colours::transparentWhite, c.x, c.y + faceRadius * 0.4f, true));
    g.fillEllipse (face.reduced (faceRadius * 0.12f));

    const float inner = chickenHead ? 0.0f : faceRadius * 0.3f;
    const float outer = chickenHead ? radius + 2.5f : faceRadius * 1.02f;
    juce::Path pointer;
    pointer.startNewSubPath (c.getPointOnCircumference (inner, angle));
    pointer.lineTo (c.getPointOnCircumference (outer, angle));
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.strokePath (pointer, juce::PathStrokeType (chickenHead ? 3.5f : 3.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.setColour (juce::Colours::white);
    g.strokePath (pointer, juce::PathStrokeType (chickenHead ? 2.2f : 1.8f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
}

/** Segments a to g in bits 0 to 6. */
constexpr std::array<int, 10> digitSegments{0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};

void drawSegments (juce::Graphics& g, juce::Rectangle<float> cell, int mask, bool point, int lit)
{
    g.setColour (Palette::glass);
    g.fillRect (cell);

    const float t = juce::jmax (1.6f, cell.getWidth() * 0.17f);
    const float slant = cell.getHeight() * 0.08f;
    const auto box = cell.reduced (cell.getWidth() * 0.18f, cell.getHeight() * 0.1f);
    const float l = box.getX(), r = box.getRight(), top = box.getY(), bottom = box.getBottom(), mid = box.getCentreY();
    const float gap = 0.5f;

    // Leans the figure a little to the right, as segment displays do.
    auto at = [&] (float x, float y)
    { return juce::Point<float> (x + slant * (mid - y) / (box.getHeight() * 0.5f), y); };

    auto horizontal = [&] (float y)
    {
        juce::Path p;
        const float x0 = l + gap, x1 = r - gap, h = t * 0.5f;
        p.startNewSubPath (at (x0, y));
        p.lineTo (at (x0 + h, y - h));
        p.lineTo (at (x1 - h, y - h));
        p.lineTo (at (x1, y));
        p.lineTo (at (x1 - h, y + h));
        p.lineTo (at (x0 + h, y + h));
        p.closeSubPath();
        return p;
    };

    auto vertical = [&] (float x, float y0, float y1)
    {
        juce::Path p;
        const float a = y0 + gap, b = y1 - gap, h = t * 0.5f;
        p.startNewSubPath (at (x, a));
        p.lineTo (at (x + h, a + h));
        p.lineTo (at (x + h, b - h));
        p.lineTo (at (x, b));
        p.lineTo (at (x - h, b - h));
        p.lineTo (at (x - h, a + h));
        p.closeSubPath();
        return p;
    };

    const float inset = t * 0.5f;
    const std::array<juce::Path, 7> segments{
        horizontal (top + inset),
        vertical (r - inset, top + inset, mid),
        vertical (r - inset, mid, bottom - inset),
        horizontal (bottom - inset),
        vertical (l + inset, mid, bottom - inset),
        vertical (l + inset, top + inset, mid),
        horizontal (mid),
    };

    const auto on = Palette::glyph;
    const auto off = Palette::glyph.withAlpha (0.035f);

    for (int s = 0; s < 7; ++s)
    {
        const bool isLit = (mask >> s) & 1;
        g.setColour (isLit && lit ? on : off);
        g.fillPath (segments[(size_t) s]);
    }

    if (point)
    {
        const auto dot = juce::Rectangle<float> (t, t).withCentre ({cell.getRight() - t * 0.6f, bottom - inset * 0.6f});
        g.setColour (lit ? on : off);
        g.fillEllipse (dot);
    }
}

/** Five columns by seven rows a glyph, bit 4 the leftmost column; characters 32 to 126. */
constexpr std::array<std::array<juce::uint8, 7>, 95> dotGlyphs{{
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04},
    {0x0a, 0x0a, 0x0a, 0x00, 0x00, 0x00, 0x00},
    {0x0a, 0x0a, 0x1f, 0x0a, 0x1f, 0x0a, 0x0a},
    {0x04, 0x0f, 0x14, 0x0e, 0x05, 0x1e, 0x04},
    {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03},
    {0x0c, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0d},
    {0x0c, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00},
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02},
    {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08},
    {0x00, 0x04, 0x15, 0x0e, 0x15, 0x04, 0x00},
    {0x00, 0x04, 0x04, 0x1f, 0x04, 0x04, 0x00},
    {0x00, 0x00, 0x00, 0x00, 0x0c, 0x04, 0x08},
    {0x00, 0x00, 0x00, 0x1f, 0x00, 0x00, 0x00},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0c, 0x0c},
    {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00},
    {0x0e, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0e},
    {0x04, 0x0c, 0x04, 0x04, 0x04, 0x04, 0x0e},
    {0x0e, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1f},
    {0x1f, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0e},
    {0x02, 0x06, 0x0a, 0x12, 0x1f, 0x02, 0x02},
    {0x1f, 0x10, 0x1e, 0x01, 0x01, 0x11, 0x0e},
    {0x06, 0x08, 0x10, 0x1e, 0x11, 0x11, 0x0e},
    {0x1f, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0e, 0x11, 0x11, 0x0e, 0x11, 0x11, 0x0e},
    {0x0e, 0x11, 0x11, 0x0f, 0x01, 0x02, 0x0c},
    {0x00, 0x0c, 0x0c, 0x00, 0x0c, 0x0c, 0x00},
    {0x00, 0x0c, 0x0c, 0x00, 0x0c, 0x04, 0x08},
    {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02},
    {0x00, 0x00, 0x1f, 0x00, 0x1f, 0x00, 0x00},
    {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08},
    {0x0e, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04},
    {0x0e, 0x11, 0x01, 0x0d, 0x15, 0x15, 0x0e},
    {0x0e, 0x11, 0x11, 0x11, 0x1f, 0x11, 0x11},
    {0x1e, 0x11, 0x11, 0x1e, 0x11, 0x11, 0x1e},
    {0x0e, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0e},
    {0x1c, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1c},
    {0x1f, 0x10, 0x10, 0x1e, 0x10, 0x10, 0x1f},
    {0x1f, 0x10, 0x10, 0x1e, 0x10, 0x10, 0x10},
    {0x0e, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0f},
    {0x11, 0x11, 0x11, 0x1f, 0x11, 0x11, 0x11},
    {0x0e, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0e},
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0c},
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11},
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1f},
    {0x11, 0x1b, 0x15, 0x15, 0x11, 0x11, 0x11},
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11},
    {0x0e, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0e},
    {0x1e, 0x11, 0x11, 0x1e, 0x10, 0x10, 0x10},
    {0x0e, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0d},
    {0x1e, 0x11, 0x11, 0x1e, 0x14, 0x12, 0x11},
    {0x0f, 0x10, 0x10, 0x0e, 0x01, 0x01, 0x1e},
    {0x1f, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0e},
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0a, 0x04},
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0a},
    {0x11, 0x11, 0x0a, 0x04, 0x0a, 0x11, 0x11},
    {0x11, 0x11, 0x11, 0x0a, 0x04, 0x04, 0x04},
    {0x1f, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1f},
    {0x0e, 0x08, 0x08, 0x08, 0x08, 0x08, 0x0e},
    {0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0x00},
    {0x0e, 0x02, 0x02, 0x02, 0x02, 0x02, 0x0e},
    {0x04, 0x0a, 0x11, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1f},
    {0x08, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00},
    {0x00, 0x00, 0x0e, 0x01, 0x0f, 0x11, 0x0f},
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1e},
    {0x00, 0x00, 0x0e, 0x10, 0x10, 0x11, 0x0e},
    {0x01, 0x01, 0x0d, 0x13, 0x11, 0x11, 0x0f},
    {0x00, 0x00, 0x0e, 0x11, 0x1f, 0x10, 0x0e},
    {0x06, 0x09, 0x08, 0x1c, 0x08, 0x08, 0x08},
    {0x00, 0x0f, 0x11, 0x11, 0x0f, 0x01, 0x0e},
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11},
    {0x04, 0x00, 0x0c, 0x04, 0x04, 0x04, 0x0e},
    {0x02, 0x00, 0x06, 0x02, 0x02, 0x12, 0x0c},
    {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12},
    {0x0c, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0e},
    {0x00, 0x00, 0x1a, 0x15, 0x15, 0x11, 0x11},
    {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11},
    {0x00, 0x00, 0x0e, 0x11, 0x11, 0x11, 0x0e},
    {0x00, 0x00, 0x1e, 0x11, 0x1e, 0x10, 0x10},
    {0x00, 0x00, 0x0d, 0x13, 0x0f, 0x01, 0x01},
    {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10},
    {0x00, 0x00, 0x0e, 0x10, 0x0e, 0x01, 0x1e},
    {0x08, 0x08, 0x1c, 0x08, 0x08, 0x09, 0x06},
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0d},
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x0a, 0x04},
    {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0a},
    {0x00, 0x00, 0x11, 0x0a, 0x04, 0x0a, 0x11},
    {0x00, 0x00, 0x11, 0x11, 0x0f, 0x01, 0x0e},
    {0x00, 0x00, 0x1f, 0x02, 0x04, 0x08, 0x1f},
    {0x02, 0x04, 0x04, 0x08, 0x04, 0x04, 0x02},
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04},
    {0x08, 0x04, 0x04, 0x02, 0x04, 0x04, 0x08},
    {0x00, 0x00, 0x08, 0x15, 0x02, 0x00, 0x00},
}};

/** A brushed metal grain: rows of fixed-seed noise smeared along x. */
void brush (juce::Image& image, juce::Colour base, juce::int64 seed)
{
    juce::Random random (seed);
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);
    const int w = image.getWidth();
    std::vector<float> row ((size_t) w);

    for (int y = 0; y < image.getHeight(); ++y)
    {
        const float rowShade = (random.nextFloat() - 0.5f) * 0.035f;
        float smear = 0.0f;

        for (int x = 0; x < w; ++x)
        {
            smear = smear * 0.85f + (random.nextFloat() - 0.5f) * 0.15f;
            row[(size_t) x] = rowShade + smear * 0.25f;
        }

        for (int x = 0; x < w; ++x)
        {
            const float v = row[(size_t) x];
            pixels.setPixelColour (x, y, v >= 0.0f ? base.brighter (v * 2.0f) : base.darker (-v * 2.0f));
        }
    }
}

void drawPlate (juce::Graphics& g, const SkinLayout::Plate& p)
{
    const auto a = p.area;
    const float corner = 6.0f;

    for (int i = 3; i >= 1; --i)
    {
        g.setColour (juce::Colours::black.withAlpha (0.12f));
        g.fillRoundedRectangle (a.translated (0.0f, 1.5f).expanded ((float) i * 0.7f), corner + (float) i);
    }

    g.setGradientFill (juce::ColourGradient (p.tint.brighter (0.08f), 0.0f, a.getY(), p.tint.darker (0.12f), 0.0f, a.getBottom(), false));
    g.fillRoundedRectangle (a, corner);
    g.setColour (juce::Colours::white.withAlpha (0.09f));
    g.drawHorizontalLine ((int) a.getY(), a.getX() + corner, a.getRight() - corner);
    g.setColour (juce::Colours::black.withAlpha (0.45f));
    g.drawRoundedRectangle (a.reduced (0.5f), corner, 1.0f);
}

void drawScrew (juce::Graphics& g, juce::Point<float> c, float angle)
{
    const auto head = juce::Rectangle<float> (9.0f, 9.0f).withCentre (c);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.fillEllipse (head.translated (0.0f, 1.0f).expanded (0.5f));
    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff8d929a), head.getX(), head.getY(), juce::Colour (0xff33363c), head.getRight(),
                                             head.getBottom(), false));
    g.fillEllipse (head);
    g.setColour (juce::Colour (0xff1a1b1e));
    g.drawLine (juce::Line<float> (c.getPointOnCircumference (3.2f, angle), c.getPointOnCircumference (3.2f, angle + pi)), 1.3f);
}

/** A recessed bezel around a display window. */
void drawBezel (juce::Graphics& g, juce::Rectangle<int> area)
{
    const auto r = area.toFloat().expanded (2.5f);
    g.setColour (juce::Colours::black.withAlpha (0.8f));
    g.fillRoundedRectangle (r, 2.5f);
    g.setColour (juce::Colours::white.withAlpha (0.1f));
    g.drawHorizontalLine ((int) r.getBottom(), r.getX() + 2.0f, r.getRight() - 2.0f);
    g.setColour (Palette::glass);
    g.fillRect (area);
}

juce::Colour inkColour (SkinLayout::Ink ink)
{
    switch (ink)
    {
        case SkinLayout::Ink::hint:
            return Palette::hint;
        case SkinLayout::Ink::accent:
            return Palette::teal;
        case SkinLayout::Ink::legend:
            break;
    }

    return Palette::legend;
}
} // namespace

juce::Image SkinArtwork::background (const SkinLayout& layout)
{
    auto image = juce::Image (juce::Image::ARGB, SkinLayout::width, SkinLayout::height, true);
    brush (image, Palette::panel, 0x50554c53);
    juce::Graphics g (image);

    // A faint sheen from the top keeps the large surface from looking flat.
    g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.04f), 0.0f, 0.0f, juce::Colours::black.withAlpha (0.12f), 0.0f,
                                             (float) SkinLayout::height, false));
    g.fillAll();

    for (const auto& rule : layout.rules)
    {
        const auto& line = rule.line;

        if (rule.engraved)
        {
            g.setColour (juce::Colours::black.withAlpha (0.7f));
            g.drawLine (line, 1.0f);
            g.setColour (juce::Colours::white.withAlpha (0.08f));
            g.drawLine (line.getStart().x, line.getStart().y + 1.0f, line.getEnd().x, line.getEnd().y + 1.0f, 1.0f);
        }
        else
        {
            g.setColour (Palette::hint.withAlpha (0.7f));
            g.drawLine (line, 1.0f);
        }
    }

    for (const auto& plate : layout.plates)
        drawPlate (g, plate);

    for (const auto& w : layout.widgets)
        if (w.tag == "Display" || w.tag == "NumericDisplay" || w.tag == "PatternNumberDisplay")
            drawBezel (g, w.area);

    // The mark after the wordmark: one pulse on a flat line.
    {
        const float x = 22.0f + tahoma (25.0f).getStringWidthFloat ("PULSARET") + 5.0f;
        const float y = 25.0f;
        juce::Path pulse;
        pulse.startNewSubPath (x, y);
        pulse.lineTo (x + 9.0f, y);
        pulse.lineTo (x + 14.0f, y - 11.0f);
        pulse.lineTo (x + 20.0f, y + 9.0f);
        pulse.lineTo (x + 25.0f, y - 4.0f);
        pulse.lineTo (x + 28.0f, y);
        pulse.lineTo (x + 38.0f, y);
        g.setColour (Palette::teal.withAlpha (0.25f));
        g.strokePath (pulse, juce::PathStrokeType (5.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
        g.setColour (Palette::teal);
        g.strokePath (pulse, juce::PathStrokeType (2.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::rounded));
    }

    const float screwAngles[4] = {0.4f, 1.3f, 2.2f, 0.9f};
    const juce::Point<float> screws[4] = {{8.0f, 8.0f}, {782.0f, 8.0f}, {8.0f, 628.0f}, {782.0f, 628.0f}};

    for (int i = 0; i < 4; ++i)
        drawScrew (g, screws[i], screwAngles[i]);

    g.setColour (Palette::hint);

    for (const auto& scale : layout.scales)
        for (const auto angle : scale.angles)
            g.fillEllipse (juce::Rectangle<float> (scale.dotSize, scale.dotSize).withCentre (scale.centre.getPointOnCircumference (scale.radius, angle)));

    for (const auto& legend : layout.legends)
    {
        g.setFont (tahoma (legend.size, legend.bold));
        g.setColour (juce::Colours::black.withAlpha (0.45f));
        g.drawText (legend.text, legend.area.translated (0.0f, 1.0f), legend.justification, false);
        g.setColour (inkColour (legend.ink));
        g.drawText (legend.text, legend.area, legend.justification, false);
    }

    return image;
}

juce::Image SkinArtwork::knob (int size, juce::Colour ring)
{
    return filmstrip (size, size, knobFrames, [size, ring] (juce::Graphics& g, int k)
                      {
                          const float angle = sweepStart + sweep * (float) k / (float) (knobFrames - 1);
                          const auto c = juce::Point<float> ((float) size, (float) size) * 0.5f;
                          float radius = (float) size * 0.5f - 3.5f;

                          if (!ring.isTransparent())
                          {
                              const float arcRadius = (float) size * 0.5f - 4.5f;
                              juce::Path track, value;
                              track.addCentredArc (c.x, c.y, arcRadius, arcRadius, 0.0f, sweepStart, sweepStart + sweep, true);
                              g.setColour (juce::Colours::black.withAlpha (0.75f));
                              g.strokePath (track, juce::PathStrokeType (3.5f));

                              if (k > 0)
                              {
                                  value.addCentredArc (c.x, c.y, arcRadius, arcRadius, 0.0f, sweepStart, angle, true);
                                  g.setColour (ring.withAlpha (0.35f));
                                  g.strokePath (value, juce::PathStrokeType (4.5f));
                                  g.setColour (ring);
                                  g.strokePath (value, juce::PathStrokeType (2.5f));
                              }

                              radius = (float) size * 0.5f - 9.0f;
                          }

                          drawCap (g, c, radius, angle, false); });
}

juce::Image SkinArtwork::trackSwitch()
{
    return filmstrip (40, 40, 8, [] (juce::Graphics& g, int k)
                      { drawCap (g, {20.0f, 20.0f}, 14.0f, sweepStart + sweep * (float) k / 7.0f, true); });
}

juce::Image SkinArtwork::linkToggle()
{
    return filmstrip (44, 18, 2, [] (juce::Graphics& g, int k)
                      {
                          const auto face = rubberKey (g, {0.0f, 0.0f, 44.0f, 18.0f}, false);
                          lens (g, {face.getX() + 5.0f, face.getCentreY() - 2.5f, 5.0f, 5.0f}, Palette::amber, k == 1, true);

                          // Two chain links.
                          const auto c = juce::Point<float> (face.getCentreX() + 5.0f, face.getCentreY());
                          g.setColour (Palette::legend.withAlpha (0.85f));
                          g.drawRoundedRectangle (juce::Rectangle<float> (11.0f, 6.0f).withCentre (c.translated (-4.0f, 0.0f)), 3.0f, 1.4f);
                          g.drawRoundedRectangle (juce::Rectangle<float> (11.0f, 6.0f).withCentre (c.translated (4.0f, 0.0f)), 3.0f, 1.4f); });
}

juce::Image SkinArtwork::arrow (bool left)
{
    return filmstrip (22, 22, 2, [left] (juce::Graphics& g, int k)
                      {
                          const auto face = rubberKey (g, {0.0f, 0.0f, 22.0f, 22.0f}, k == 1, Palette::rubber, 4.0f);
                          fillSymbol (g, triangle (face.getCentre().translated (0.0f, -0.5f), 9.0f, !left), Palette::legend); });
}

juce::Image SkinArtwork::plainButton (int width, int height, bool tap)
{
    return filmstrip (width, height, 2, [=] (juce::Graphics& g, int k)
                      {
                          const auto face = rubberKey (g, {0.0f, 0.0f, (float) width, (float) height}, k == 1, Palette::rubber, tap ? 5.0f : 3.0f);

                          if (tap)
                          {
                              // A struck pad: a ring around a dot.
                              const auto c = face.getCentre();
                              g.setColour (juce::Colours::black.withAlpha (0.5f));
                              g.drawEllipse (juce::Rectangle<float> (16.0f, 16.0f).withCentre (c.translated (0.0f, 1.0f)), 2.0f);
                              g.setColour (Palette::legend);
                              g.drawEllipse (juce::Rectangle<float> (16.0f, 16.0f).withCentre (c), 2.0f);
                              g.fillEllipse (juce::Rectangle<float> (6.0f, 6.0f).withCentre (c));
                          }
                          else
                          {
                              g.setColour (juce::Colours::black.withAlpha (0.35f));
                              g.fillRoundedRectangle (juce::Rectangle<float> (14.0f, 2.0f).withCentre (face.getCentre()), 1.0f);
                          } });
}

juce::Image SkinArtwork::rocker()
{
    return filmstrip (56, 20, 3, [] (juce::Graphics& g, int k)
                      {
                          const auto left = rubberKey (g, {0.0f, 0.0f, 28.0f, 20.0f}, k == 0);
                          const auto right = rubberKey (g, {28.0f, 0.0f, 28.0f, 20.0f}, k == 2);
                          fillSymbol (g, triangle (left.getCentre(), 8.0f, false), Palette::legend);
                          fillSymbol (g, triangle (right.getCentre(), 8.0f, true), Palette::legend); });
}

juce::Image SkinArtwork::stepPad()
{
    // Two frames a state (up, pressed): rest, hit, accent.
    return filmstrip (38, 38, 6, [] (juce::Graphics& g, int k)
                      {
                          const int state = k / 2;
                          const auto face = rubberKey (g, {0.0f, 0.0f, 38.0f, 38.0f}, k % 2 == 1, juce::Colour (0xff40444d), 5.0f);
                          const auto bar = juce::Rectangle<float> (face.getCentreX() - 11.0f, face.getY() + 5.0f, 22.0f, 5.0f);
                          lens (g, bar, state == 2 ? Palette::teal : Palette::teal.darker (0.6f), state > 0, false);

                          if (state == 2)
                          {
                              g.setColour (Palette::teal.withAlpha (0.12f));
                              g.fillRoundedRectangle (face.reduced (2.0f), 4.0f);
                          } });
}

juce::Image SkinArtwork::ledButton (int width, int height, int symbol)
{
    // Symbols: 0 none, 1 "M" (mute, red), 2 "S" (solo, yellow), 3 play (green), 4 select (teal).
    return filmstrip (width, height, 4, [=] (juce::Graphics& g, int k)
                      {
                          const bool on = k >= 2;
                          const auto face = rubberKey (g, {0.0f, 0.0f, (float) width, (float) height}, k % 2 == 1);

                          switch (symbol)
                          {
                              case 1:
                              case 2:
                              {
                                  const auto colour = symbol == 1 ? Palette::red : Palette::yellow;
                                  lens (g, {face.getX() + 5.0f, face.getCentreY() - 2.5f, 5.0f, 5.0f}, colour, on, true);
                                  // A muted or soloed voice shows from across the room: the letter lights too.
                symbolText (g, symbol == 1 ? "M" : "S", face.withTrimmedLeft (12.0f), 11.0f, on ? colour.brighter (0.3f) : Palette::legend);
                                  break;
                              }
                              case 3:
                              {
                                  lens (g, {face.getX() + 9.0f, face.getCentreY() - 3.5f, 7.0f, 7.0f}, Palette::green, on, true);
                                  const auto c = face.getCentre().translated (6.0f, 0.0f);
                                  fillSymbol (g, triangle (c.translated (-8.0f, 0.0f), 12.0f, true), on ? Palette::green.brighter (0.3f) : Palette::legend);
                                  juce::Path stop;
                                  stop.addRectangle (juce::Rectangle<float> (9.0f, 9.0f).withCentre (c.translated (9.0f, 0.0f)));
                                  fillSymbol (g, stop, Palette::legend);
                                  break;
                              }
                              case 4:
                                  lens (g, juce::Rectangle<float> (28.0f, 4.0f).withCentre (face.getCentre()), Palette::teal, on, false);
                                  break;
                              default:
                                  lens (g, juce::Rectangle<float> (16.0f, 4.0f).withCentre (face.getCentre()), Palette::amber, on, false);
                                  break;
                          } });
}

juce::Image SkinArtwork::light (int size, juce::Colour colour)
{
    return filmstrip (size, size, 2, [=] (juce::Graphics& g, int k)
                      { lens (g, juce::Rectangle<float> (0.0f, 0.0f, (float) size, (float) size).reduced (1.5f), colour, k == 1, true); });
}

juce::Image SkinArtwork::dotMatrixFont()
{
    constexpr int cellWidth = 8, cellHeight = 12, glyphs = (int) dotGlyphs.size();

    return filmstrip (cellWidth, cellHeight, 2 * glyphs, [] (juce::Graphics& g, int k)
                      {
                          const bool caret = k >= glyphs;
                          const auto& rows = dotGlyphs[(size_t) (k % glyphs)];
                          const auto caretFill = Palette::glyph.interpolatedWith (Palette::glass, 0.15f);
                          g.fillAll (caret ? caretFill : Palette::glass);

                          for (int row = 0; row < 7; ++row)
                          {
                              for (int col = 0; col < 5; ++col)
                              {
                                  const bool lit = (rows[(size_t) row] >> (4 - col)) & 1;
                                  juce::Colour dot;

                                  if (caret)
                                      dot = lit ? Palette::glass : caretFill;
                                  else
                                      dot = lit ? Palette::glyph : Palette::glass.interpolatedWith (Palette::glyph, 0.07f);

                                  g.setColour (dot);
                                  g.fillRect (1 + col, 3 + row, 1, 1);
                              }
                          } });
}

juce::Image SkinArtwork::segmentDigits (int width, int height, const std::vector<int>& extraFigures, bool point)
{
    const int frames = 11 + (int) extraFigures.size();

    return filmstrip (width, height, frames, [=] (juce::Graphics& g, int k)
                      {
                          const auto cell = juce::Rectangle<float> (0.0f, 0.0f, (float) width, (float) height);

                          if (k == 0)
                          {
                              drawSegments (g, cell, 0x7f, point, false);
                              return;
                          }

                          if (k <= 10)
                          {
                              drawSegments (g, cell, digitSegments[(size_t) (k - 1)], point, true);
                              return;
                          }

                          const int figure = extraFigures[(size_t) (k - 11)];

                          // Negative figures are drawn, not segmented: -1 is "#", -2 "P.".
                          if (figure == -2)
                          {
                              drawSegments (g, cell, 0x73, true, true);
                          }
                          else if (figure == -1)
                          {
                              drawSegments (g, cell, 0, false, false);
                              const auto box = cell.reduced (width * 0.2f, height * 0.2f);
                              g.setColour (Palette::glyph);
                              const float t = juce::jmax (1.4f, width * 0.12f);

                              for (const float f : {0.33f, 0.67f})
                              {
                                  g.drawLine (box.getX() + box.getWidth() * f + 0.8f, box.getY(), box.getX() + box.getWidth() * f - 0.8f, box.getBottom(), t);
                                  g.drawLine (box.getX(), box.getY() + box.getHeight() * f, box.getRight(), box.getY() + box.getHeight() * f, t);
                              }
                          }
                          else
                          {
                              drawSegments (g, cell, figure, false, true);
                          } });
}

std::vector<std::pair<juce::String, juce::Image>> SkinArtwork::renderAll (const SkinLayout& layout)
{
    const auto none = juce::Colours::transparentBlack;
    // Segment masks of the note letters C D E F G A B and the dash.
    const std::vector<int> letters{0x39, 0x5e, 0x79, 0x71, 0x3d, 0x77, 0x7c, 0x40};

    return {
        {"Background.png", background (layout)},
        {"KnobSound.png", knob (36, none)},
        {"KnobLevel.png", knob (48, Palette::teal)},
        {"KnobDensity.png", knob (48, Palette::amber)},
        {"KnobMaster.png", knob (40, none)},
        {"SwitchTrack.png", trackSwitch()},
        {"ToggleLink.png", linkToggle()},
        {"ArrowLeft.png", arrow (true)},
        {"ArrowRight.png", arrow (false)},
        {"ButtonSmall.png", plainButton (40, 20, false)},
        {"ButtonTap.png", plainButton (80, 34, true)},
        {"RockerShift.png", rocker()},
        {"StepButton.png", stepPad()},
        {"LedButton.png", ledButton (40, 20, 0)},
        {"PlayButton.png", ledButton (80, 34, 3)},
        {"MuteButton.png", ledButton (38, 18, 1)},
        {"SoloButton.png", ledButton (38, 18, 2)},
        {"SelectButton.png", ledButton (80, 22, 4)},
        {"ActivityLed.png", light (12, Palette::green)},
        {"LedSmall.png", light (10, Palette::amber)},
        {"FontLcd.png", dotMatrixFont()},
        {"DigitOut.png", segmentDigits (10, 16, {}, false)},
        {"DigitTempo.png", segmentDigits (14, 20, {}, false)},
        {"DigitTempoPoint.png", segmentDigits (14, 20, {}, true)},
        {"PatternDigit1.png", segmentDigits (12, 16, {-2}, false)},
        {"PatternDigit2.png", segmentDigits (12, 16, letters, false)},
        {"PatternDigit3.png", segmentDigits (12, 16, {-1, 0x40}, false)},
        {"PatternDigit4.png", segmentDigits (12, 16, {}, false)},
    };
}
