#pragma once

#include <juce_graphics/juce_graphics.h>

#include <utility>
#include <vector>

/** The one table the panel skin is made from: every widget with its element, place and
    images, and everything printed on the background (plates, legends, scale marks).
    The skin generator writes skin.xml and draws the background from it. */
struct SkinLayout
{
    static constexpr int width = 790;
    static constexpr int height = 636;

    using Attribute = std::pair<juce::String, juce::String>;

    struct Widget
    {
        juce::String tag;
        juce::String name;
        juce::Rectangle<int> area;
        juce::String link;
        std::vector<Attribute> actions; // (type, event name)
        std::vector<Attribute> attributes;
        std::vector<juce::String> images; // the gfx resource; a numeric display's digits, a pattern number's four
        int framesNum = 0;                // written for filmstrip widgets that read it
        bool writeSize = false;
    };

    enum class Ink
    {
        legend,
        hint,
        accent
    };

    struct Legend
    {
        juce::String text;
        juce::Rectangle<float> area;
        float size;
        Ink ink = Ink::legend;
        juce::Justification justification = juce::Justification::centred;
        bool bold = true;
    };

    struct Plate
    {
        juce::Rectangle<float> area;
        juce::Colour tint;
    };

    /** Scale marks printed around a knob or switch: dots at the given angles (radians, 0 up). */
    struct Scale
    {
        juce::Point<float> centre;
        float radius;
        std::vector<float> angles;
        float dotSize;
    };

    std::vector<Widget> widgets;
    std::vector<Plate> plates;
    std::vector<Legend> legends;
    std::vector<Scale> scales;
    /** A line printed in the legends' grey, or engraved into the panel. */
    struct Rule
    {
        juce::Line<float> line;
        bool engraved = false;
    };

    std::vector<Rule> rules;

    static SkinLayout build();

    /** The skin document with the widgets in table order (the first is drawn on top). */
    std::unique_ptr<juce::XmlElement> createDocument() const;
};
