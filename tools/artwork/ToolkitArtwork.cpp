#include "ToolkitArtwork.h"
#include "gui/ToolkitImages.h"

namespace
{
const juce::Colour ink (0xff444444);
const juce::Colour face (0xffe3e3e3);
const juce::Colour pressedFace (0xffadadad);
const juce::Colour edge (0xff5b5b5b);

juce::Image blank (int width, int height)
{
    return juce::Image (juce::Image::ARGB, width, height, true);
}

void fillFace (juce::Graphics& g, juce::Rectangle<float> area, float corner, juce::Colour fill, bool raised)
{
    g.setGradientFill (juce::ColourGradient (fill.brighter (raised ? 0.12f : 0.0f), area.getX(), area.getY(),
                                             fill.darker (raised ? 0.08f : 0.0f), area.getX(), area.getBottom(), false));
    g.fillRoundedRectangle (area, corner);
}

juce::Path tickPath (juce::Rectangle<float> box)
{
    juce::Path p;
    p.startNewSubPath (box.getRelativePoint (0.22f, 0.52f));
    p.lineTo (box.getRelativePoint (0.42f, 0.74f));
    p.lineTo (box.getRelativePoint (0.80f, 0.26f));
    return p;
}

/** Points given as fractions of a glyph's box. */
struct RelativePoint
{
    juce::Rectangle<float> box;
    juce::Point<float> operator() (float x, float y) const { return box.getRelativePoint (x, y); }
};

juce::Path polygon (std::initializer_list<juce::Point<float>> corners)
{
    juce::Path p;
    p.startNewSubPath (*corners.begin());

    for (auto corner = corners.begin() + 1; corner != corners.end(); ++corner)
        p.lineTo (*corner);

    p.closeSubPath();
    return p;
}

void drawSheets (juce::Graphics& g, juce::Rectangle<float> box, float thickness)
{
    const RelativePoint pt{box};
    const auto back = juce::Rectangle<float> (pt (0.1f, 0.05f), pt (0.62f, 0.68f));
    const auto front = juce::Rectangle<float> (pt (0.38f, 0.32f), pt (0.9f, 0.95f));
    g.drawRect (back, thickness * 0.6f);
    g.fillRect (front);
}

void drawClipboard (juce::Graphics& g, juce::Rectangle<float> box, float thickness)
{
    const RelativePoint pt{box};
    const auto board = juce::Rectangle<float> (pt (0.12f, 0.1f), pt (0.78f, 0.95f));
    g.drawRect (board, thickness * 0.6f);
    g.fillRect (juce::Rectangle<float> (pt (0.3f, 0.0f), pt (0.6f, 0.2f)));
    // The pasted sheet lies over the board's lower right.
    g.fillRect (juce::Rectangle<float> (pt (0.42f, 0.42f), pt (0.95f, 1.0f)));
}

void drawBin (juce::Graphics& g, juce::Rectangle<float> box, float thickness)
{
    const RelativePoint pt{box};
    g.fillRect (juce::Rectangle<float> (pt (0.1f, 0.14f), pt (0.9f, 0.26f)));
    g.fillRect (juce::Rectangle<float> (pt (0.38f, 0.02f), pt (0.62f, 0.14f)));
    g.fillPath (polygon ({pt (0.18f, 0.32f), pt (0.82f, 0.32f), pt (0.74f, 0.98f), pt (0.26f, 0.98f)}));
    g.setColour (face);

    for (const float x : {0.38f, 0.62f})
        g.drawLine (juce::Line<float> (pt (x, 0.42f), pt (x, 0.86f)), thickness * 0.45f);
}

void drawFolder (juce::Graphics& g, juce::Rectangle<float> box, bool open)
{
    const RelativePoint pt{box};
    juce::Path back;
    back.startNewSubPath (pt (0.02f, 0.15f));
    back.lineTo (pt (0.38f, 0.15f));
    back.lineTo (pt (0.48f, 0.27f));
    back.lineTo (pt (0.98f, 0.27f));
    back.lineTo (pt (0.98f, 0.92f));
    back.lineTo (pt (0.02f, 0.92f));
    back.closeSubPath();

    if (!open)
    {
        g.fillPath (back);
        return;
    }

    // The back stays an outline; the front flap leans out toward the viewer.
    g.strokePath (back, juce::PathStrokeType (juce::jmax (1.0f, box.getWidth() * 0.08f)));
    g.fillPath (polygon ({pt (0.2f, 0.45f), pt (1.0f, 0.45f), pt (0.82f, 0.92f), pt (0.02f, 0.92f)}));
}

void drawDisk (juce::Graphics& g, juce::Rectangle<float> box)
{
    const RelativePoint pt{box};
    const auto w = box.getWidth();
    g.fillRoundedRectangle (box.reduced (w * 0.04f), w * 0.08f);
    g.setColour (face);
    g.fillRect (juce::Rectangle<float> (pt (0.26f, 0.04f), pt (0.7f, 0.36f)));
    g.fillRect (juce::Rectangle<float> (pt (0.2f, 0.54f), pt (0.8f, 0.96f)));
    g.setColour (ink);
    g.fillRect (juce::Rectangle<float> (pt (0.52f, 0.08f), pt (0.64f, 0.32f)));
}
} // namespace

juce::Image ToolkitArtwork::checkBox (bool ticked)
{
    auto image = blank (boxSize, boxSize);
    juce::Graphics g (image);
    auto box = image.getBounds().toFloat().reduced (0.5f);
    fillFace (g, box, 3.0f, juce::Colours::white, false);
    g.setColour (edge);
    g.drawRoundedRectangle (box, 3.0f, 1.0f);

    if (ticked)
    {
        g.setColour (ink);
        g.strokePath (tickPath (box), juce::PathStrokeType (2.2f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    }

    return image;
}

juce::Image ToolkitArtwork::radioButton (bool ticked)
{
    auto image = blank (boxSize, boxSize);
    juce::Graphics g (image);
    auto box = image.getBounds().toFloat().reduced (0.5f);
    g.setColour (juce::Colours::white);
    g.fillEllipse (box);
    g.setColour (edge);
    g.drawEllipse (box, 1.0f);

    if (ticked)
    {
        g.setColour (ink);
        g.fillEllipse (box.reduced (4.5f));
    }

    return image;
}

void ToolkitArtwork::drawGlyph (juce::Graphics& g, int icon, juce::Rectangle<float> box)
{
    const auto w = box.getWidth();
    const auto stroke = juce::PathStrokeType (juce::jmax (1.5f, w * 0.14f), juce::PathStrokeType::mitered, juce::PathStrokeType::rounded);
    const RelativePoint pt{box};
    juce::Path p;

    auto arrow = [&] (float angle)
    {
        juce::Path a;
        a.addTriangle (0.5f, 0.15f, 0.88f, 0.6f, 0.12f, 0.6f);
        a.addRectangle (0.36f, 0.58f, 0.28f, 0.27f);
        a.applyTransform (juce::AffineTransform::rotation (angle, 0.5f, 0.5f)
                              .scaled (box.getWidth(), box.getHeight())
                              .translated (box.getX(), box.getY()));
        g.fillPath (a);
    };

    switch (icon)
    {
        case 0:  // close
        case 11: // cross-out
            p.startNewSubPath (pt (0.2f, 0.2f));
            p.lineTo (pt (0.8f, 0.8f));
            p.startNewSubPath (pt (0.8f, 0.2f));
            p.lineTo (pt (0.2f, 0.8f));
            g.strokePath (p, stroke);
            if (icon == 11)
                g.drawEllipse (box.reduced (w * 0.02f), stroke.getStrokeThickness() * 0.5f);
            break;
        case 1: // copy: a second sheet laid over the first
            drawSheets (g, box, stroke.getStrokeThickness());
            break;
        case 2: // minus
            p.startNewSubPath (pt (0.15f, 0.5f));
            p.lineTo (pt (0.85f, 0.5f));
            g.strokePath (p, stroke);
            break;
        case 3: // paste: a sheet on a clipboard
            drawClipboard (g, box, stroke.getStrokeThickness());
            break;
        case 4: // delete one assignment: a waste bin
            drawBin (g, box, stroke.getStrokeThickness());
            break;
        case 5: // next, down the list
            arrow (juce::MathConstants<float>::pi);
            break;
        case 6: // previous, up the list
            arrow (0.0f);
            break;
        case 7: // folder
            drawFolder (g, box, false);
            break;
        case 8: // disk
            drawDisk (g, box);
            break;
        case 9:  // add a group: a folder with a plus
        case 10: // remove a group: a folder with a minus
            drawFolder (g, box, false);
            g.setColour (face);
            p.startNewSubPath (pt (0.32f, 0.6f));
            p.lineTo (pt (0.68f, 0.6f));
            if (icon == 9)
            {
                p.startNewSubPath (pt (0.5f, 0.42f));
                p.lineTo (pt (0.5f, 0.78f));
            }
            g.strokePath (p, juce::PathStrokeType (stroke.getStrokeThickness() * 0.8f));
            break;
        case 12: // clear all: every row of a list struck out
            for (const float y : {0.2f, 0.5f, 0.8f})
            {
                p.startNewSubPath (pt (0.1f, y));
                p.lineTo (pt (0.9f, y));
            }
            g.strokePath (p, juce::PathStrokeType (stroke.getStrokeThickness() * 0.6f));
            p.clear();
            p.startNewSubPath (pt (0.1f, 0.05f));
            p.lineTo (pt (0.9f, 0.95f));
            p.startNewSubPath (pt (0.9f, 0.05f));
            p.lineTo (pt (0.1f, 0.95f));
            g.setColour (juce::Colour (0xffa02020));
            g.strokePath (p, stroke);
            break;
        case 13: // stop
            g.fillRect (box.reduced (w * 0.2f));
            break;
        case 14: // reload
            p.addCentredArc (box.getCentreX(), box.getCentreY(), w * 0.32f, w * 0.32f, 0.0f, 0.5f, 5.4f, true);
            g.strokePath (p, stroke);
            p.clear();
            p.addTriangle (pt (0.5f, 0.02f), pt (0.72f, 0.18f), pt (0.5f, 0.34f));
            g.fillPath (p);
            break;
        case 15: // open: a folder with its flap lifted
            drawFolder (g, box, true);
            break;
        case 16: // save: a floppy disk
            drawDisk (g, box);
            break;
        default:
            break;
    }
}

juce::Image ToolkitArtwork::iconButton (int icon, bool large, bool pressed)
{
    if (icon < 0 || icon >= ToolkitImages::numIcons)
        return {};

    const int size = large ? largeIconSize : standardIconSize;
    auto image = blank (size, size);
    juce::Graphics g (image);
    auto area = image.getBounds().toFloat().reduced (1.5f);
    const float corner = large ? 6.0f : 4.0f;
    fillFace (g, area, corner, pressed ? pressedFace : face, !pressed);
    g.setColour (pressed ? ink.darker (0.5f) : ink);
    g.drawRoundedRectangle (area, corner, 1.0f);
    drawGlyph (g, icon, area.reduced (size * 0.2f).translated (pressed ? 0.5f : 0.0f, pressed ? 0.5f : 0.0f));
    return image;
}

std::array<juce::Image, 7> ToolkitArtwork::textButtonSlices (int set)
{
    const bool large = set == 2;
    const bool dark = set == 1;
    const int height = large ? 28 : 20;
    const int cap = large ? 10 : 8;
    const int middle = 4;
    const float corner = large ? 6.0f : 4.0f;
    std::array<juce::Image, 7> slices;

    for (int pressed = 0; pressed < 2; ++pressed)
    {
        // One whole button is drawn, then cut into its caps and stretchable middle.
        auto whole = blank (2 * cap + middle, height);
        {
            juce::Graphics g (whole);
            // A pixel of air at each side keeps neighbouring buttons apart.
            auto area = whole.getBounds().toFloat().reduced (1.5f, 0.5f);
            auto fill = dark ? juce::Colour (0xff5b5b5b) : face;
            fillFace (g, area, corner, pressed != 0 ? fill.darker (0.25f) : fill, pressed == 0);
            g.setColour (dark ? juce::Colour (0xff2a2a2a) : edge);
            g.drawRoundedRectangle (area, corner, 1.0f);
        }

        slices[(size_t) (3 * pressed)] = whole.getClippedImage ({0, 0, cap, height}).createCopy();
        slices[(size_t) (3 * pressed + 1)] = whole.getClippedImage ({cap, 0, middle, height}).createCopy();
        slices[(size_t) (3 * pressed + 2)] = whole.getClippedImage ({cap + middle, 0, cap, height}).createCopy();
    }

    // A faint gloss over the upper half of the text area.
    auto overlay = blank (middle, height);
    {
        juce::Graphics g (overlay);
        g.setGradientFill (juce::ColourGradient (juce::Colours::white.withAlpha (0.25f), 0.0f, 1.0f,
                                                 juce::Colours::white.withAlpha (0.0f), 0.0f, (float) height * 0.5f, false));
        g.fillRect (0, 1, middle, height / 2);
    }
    slices[6] = overlay;
    return slices;
}

juce::Image ToolkitArtwork::titleIcon()
{
    // A snare drum seen from the side, light on the dark title bar: a head, a
    // shell laced with tension cords, and a pair of sticks resting on the head.
    auto image = blank (24, 24);
    juce::Graphics g (image);
    const juce::Rectangle<float> head (3.0f, 8.0f, 18.0f, 6.0f);
    const float shellBottom = 19.0f;

    juce::Path shell;
    shell.startNewSubPath (head.getX(), head.getCentreY());
    shell.lineTo (head.getX(), shellBottom);
    shell.quadraticTo (head.getCentreX(), shellBottom + head.getHeight(), head.getRight(), shellBottom);
    shell.lineTo (head.getRight(), head.getCentreY());
    shell.closeSubPath();
    g.setColour (face);
    g.fillPath (shell);

    juce::Path lacing;
    const int cords = 4;

    for (int i = 0; i <= cords; ++i)
    {
        const float x = head.getX() + 1.0f + (head.getWidth() - 2.0f) * (float) i / (float) cords;
        const float y = (i % 2 == 0) ? head.getBottom() + 0.5f : shellBottom + 1.0f;

        if (i == 0)
            lacing.startNewSubPath (x, y);
        else
            lacing.lineTo (x, y);
    }

    g.setColour (juce::Colour (0xff7c7c7c));
    g.strokePath (lacing, juce::PathStrokeType (0.9f));

    g.setColour (juce::Colours::white);
    g.fillEllipse (head);
    g.setColour (edge);
    g.drawEllipse (head, 1.0f);

    // Sticks cross above the head, their tips resting on it.
    g.setColour (juce::Colours::white);
    g.drawLine (4.5f, 1.5f, 14.0f, 10.0f, 1.6f);
    g.drawLine (19.5f, 1.5f, 10.0f, 10.0f, 1.6f);
    g.setColour (face);
    g.fillEllipse (12.8f, 8.8f, 2.4f, 2.4f);
    g.fillEllipse (8.8f, 8.8f, 2.4f, 2.4f);
    return image;
}

juce::Image ToolkitArtwork::presetRowIcon (bool selected)
{
    // Three faders at different settings: a stored sound. Light on the selected
    // row's darker fill, dark on the list.
    auto image = blank (rowIconSize, rowIconSize);
    juce::Graphics g (image);
    const auto colour = selected ? juce::Colours::white : ink;
    const float knobs[] = {7.5f, 3.5f, 5.5f};

    for (int i = 0; i < 3; ++i)
    {
        const float x = 2.5f + 4.0f * (float) i;
        g.setColour (colour.withAlpha (0.6f));
        g.fillRect (x - 0.5f, 1.0f, 1.0f, 11.0f);
        g.setColour (colour);
        g.fillRect (x - 2.0f, knobs[i], 4.0f, 2.0f);
    }

    return image;
}

juce::Image ToolkitArtwork::edgeStrip (int side)
{
    if (side < 1 || side > 4)
        return {};

    const bool horizontal = side <= 2;
    auto image = blank (horizontal ? 40 : 10, horizontal ? 10 : 40);
    juce::Graphics g (image);
    const auto bounds = image.getBounds().toFloat();
    // Darkest at the window's edge, fading toward the content.
    const auto outer = juce::Colour (0xff8a8a8a);
    const auto inner = juce::Colour (0xffc5c5c5);
    juce::Point<float> from, to;

    switch (side)
    {
        case 1:
            from = bounds.getTopLeft();
            to = bounds.getBottomLeft();
            break;
        case 2:
            from = bounds.getBottomLeft();
            to = bounds.getTopLeft();
            break;
        case 3:
            from = bounds.getTopLeft();
            to = bounds.getTopRight();
            break;
        default:
            from = bounds.getTopRight();
            to = bounds.getTopLeft();
            break;
    }

    g.setGradientFill (juce::ColourGradient (outer, from, inner, to, false));
    g.fillAll();
    return image;
}

int ToolkitArtwork::fixedFileSize (const juce::String& name)
{
    if (name == ToolkitImages::checkBoxName (false))
        return 494;
    if (name == ToolkitImages::checkBoxName (true))
        return 561;
    if (name == ToolkitImages::radioButtonName (false))
        return 548;
    if (name == ToolkitImages::radioButtonName (true))
        return 599;
    if (name == ToolkitImages::presetRowIconName (false))
        return 428;
    if (name == ToolkitImages::presetRowIconName (true))
        return 418;
    return 0;
}

std::vector<std::pair<juce::String, juce::Image>> ToolkitArtwork::renderAll()
{
    std::vector<std::pair<juce::String, juce::Image>> all;

    for (const bool ticked : {false, true})
    {
        all.emplace_back (ToolkitImages::checkBoxName (ticked), checkBox (ticked));
        all.emplace_back (ToolkitImages::radioButtonName (ticked), radioButton (ticked));
        all.emplace_back (ToolkitImages::presetRowIconName (ticked), presetRowIcon (ticked));
    }

    for (int icon = 0; icon < ToolkitImages::numIcons; ++icon)
        for (const bool large : {false, true})
            for (const bool pressed : {false, true})
                all.emplace_back (ToolkitImages::iconButtonName (icon, large, pressed), iconButton (icon, large, pressed));

    for (int set = 0; set < ToolkitImages::numTextButtonSets; ++set)
    {
        const auto slices = textButtonSlices (set);

        for (int slice = 0; slice < 7; ++slice)
            all.emplace_back (ToolkitImages::textButtonSliceName (set, slice), slices[(size_t) slice]);
    }

    all.emplace_back (ToolkitImages::titleIconName(), titleIcon());

    for (int side = 1; side <= 4; ++side)
        all.emplace_back (ToolkitImages::edgeStripName (side), edgeStrip (side));

    return all;
}
