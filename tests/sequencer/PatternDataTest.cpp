#include "sequencer/PatternData.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<juce::XmlElement> parse (const char* text)
{
    return juce::parseXML (juce::String::fromUTF8 (text));
}
} // namespace

TEST (PatternData, DefaultsAndValueRules)
{
    PatternData p;
    EXPECT_EQ (p.name, "Empty");
    EXPECT_EQ (p.length, 16);
    EXPECT_EQ (p.scale, 4);
    EXPECT_EQ (p.shuffle, 0.0);
    EXPECT_EQ (p.tempo, 120.0);

    EXPECT_EQ (p.setTempo (123.456), 1235);
    EXPECT_NEAR (p.tempo, 123.5, 1e-9);
    EXPECT_EQ (p.setTempo (12), 300);
    EXPECT_EQ (p.tempo, 30.0);
    EXPECT_EQ (p.setTempo (1000), 3000);
    EXPECT_EQ (p.tempo, 300.0);
    p.setTempo (std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ (p.tempo, 300.0);

    p.setStep (7, 3, 1);
    EXPECT_EQ (p.getStep (7, 3), 2);
    p.setStep (0, 16, 1);
    p.setStep (-1, 0, 1);
    p.setStep (8, 0, 1);
    p.setStep (0, -1, 1);
    EXPECT_EQ (p.getStep (0, 16), 0);
    EXPECT_EQ (p.getStep (-1, 0), 0);

    p.setStep (0, 0, 1);
    p.setStep (0, 2, 2);
    p.length = 4;
    EXPECT_EQ (p.getTrackString (0), "o.O.");
    EXPECT_EQ (p.getTrackString (7), "...O");
    EXPECT_EQ (p.getTrackString (8), "");
}

TEST (PatternData, ShiftRotatesOnlyTheFirstLengthSteps)
{
    PatternData p;
    p.length = 8;

    for (int s = 0; s < 16; ++s)
        p.setStep (1, s, s == 0 || s >= 8 ? 1 : 0);

    p.shiftTrackLeft (1, 9);
    EXPECT_EQ (p.getTrackString (1), ".......o");
    for (int s = 8; s < 16; ++s)
        EXPECT_EQ (p.getStep (1, s), 1);

    p.shiftTrackRight (1, 2);
    EXPECT_EQ (p.getTrackString (1), ".o......");

    p.shiftTrackRight (1, 8);
    p.shiftTrackLeft (1, -3);
    EXPECT_EQ (p.getTrackString (1), ".o......");
}

TEST (PatternData, CopyKeepsTheDestinationTempoAndLimitsValues)
{
    PatternData source;
    source.name = "Src";
    source.length = 40;
    source.scale = 5;
    source.shuffle = 2.0;
    source.tempo = 90.0;
    source.steps[7][1] = 1;
    source.steps[0][15] = 2;

    PatternData destination;
    destination.setTempo (140.0);
    destination.copyFrom (source);

    EXPECT_EQ (destination.name, "Src");
    EXPECT_EQ (destination.length, 16);
    EXPECT_EQ (destination.scale, 4);
    EXPECT_EQ (destination.shuffle, 0.8);
    EXPECT_EQ (destination.tempo, 140.0);
    EXPECT_EQ (destination.getStep (7, 1), 2);
    EXPECT_EQ (destination.getStep (0, 15), 2);

    source.shuffle = -1.0;
    destination.copyFrom (source);
    EXPECT_EQ (destination.shuffle, 0.0);
}

TEST (PatternData, WritesTheExactPatternText)
{
    PatternData p;
    p.name = "Four & More";
    p.length = 16;
    p.scale = 4;
    p.shuffle = 0.25;
    p.setTempo (123.45);

    for (int s = 0; s < 16; s += 4)
        p.setStep (0, s, 1);
    p.setStep (1, 4, 2);
    p.setStep (1, 12, 1);
    p.setStep (7, 0, 1);

    juce::XmlElement element ("Pattern");
    element.setAttribute ("application", "Pulsaret");
    p.writeXml (element);

    EXPECT_EQ (element.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<Pattern application=\"Pulsaret\" name=\"Four &amp; More\" length=\"16\" scale=\"4\" shuffle=\"0.25\" tempo=\"123.5\">"
               "<BD>o...o...o...o...</BD><SD>....O.......o...</SD><LT>................</LT><HT>................</HT>"
               "<CY>................</CY><OH>................</OH><CH>................</CH><AC>O...............</AC></Pattern>");

    PatternData empty;
    empty.length = 3;
    juce::XmlElement other ("Pattern");
    empty.writeXml (other);
    EXPECT_EQ (other.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<Pattern name=\"Empty\" length=\"3\" scale=\"4\" shuffle=\"0.0\" tempo=\"120.0\">"
               "<BD>...</BD><SD>...</SD><LT>...</LT><HT>...</HT><CY>...</CY><OH>...</OH><CH>...</CH><AC>...</AC></Pattern>");
}

TEST (PatternData, ReadsAttributesAndTracksIgnoringCase)
{
    auto xml = parse ("<pattern NAME='Beat' Length='40' SCALE='6' Shuffle='0.95' TEMPO='12.34'>"
                      "<bd>o.O.xo..o.......oooo</bd><Ac>o.o</Ac><XX>oooo</XX><SD>\xc3\xa9O</SD></pattern>");
    ASSERT_NE (xml, nullptr);

    PatternData p;
    p.setStep (0, 16 - 1, 2);
    p.setStep (7, 5, 2);
    p.setStep (1, 2, 1);
    p.readXml (*xml);

    EXPECT_EQ (p.name, "Beat");
    EXPECT_EQ (p.length, 16);
    EXPECT_EQ (p.scale, 6);
    EXPECT_EQ (p.shuffle, 0.8);
    EXPECT_EQ (p.tempo, 30.0);
    EXPECT_EQ (p.getTrackString (0), "o.O..o..o.......");
    // "o" on the accent track reads as an accent; later steps keep their values.
    EXPECT_EQ (p.getTrackString (7), "O.O..O..........");
    // A two-byte character is one step.
    EXPECT_EQ (p.getStep (1, 0), 0);
    EXPECT_EQ (p.getStep (1, 1), 2);
    EXPECT_EQ (p.getStep (1, 2), 1);
}

TEST (PatternData, MissingAttributesGiveTheirDefaults)
{
    auto xml = parse ("<Pattern scale='5' length='0'/>");
    PatternData p;
    p.name = "Old";
    p.setTempo (99);
    p.shuffle = 0.3;
    p.readXml (*xml);

    EXPECT_EQ (p.name, "");
    EXPECT_EQ (p.length, 1);
    EXPECT_EQ (p.scale, 4);
    EXPECT_EQ (p.shuffle, 0.0);
    EXPECT_EQ (p.tempo, 120.0);

    // Values that are no numbers read as missing ones.
    p.setTempo (99);
    p.shuffle = 0.3;
    p.readXml (*parse ("<Pattern length='x' scale='6x' shuffle='nan' tempo='1e9999999999'/>"));
    EXPECT_EQ (p.length, 16);
    EXPECT_EQ (p.scale, 4);
    EXPECT_EQ (p.shuffle, 0.0);
    EXPECT_EQ (p.tempo, 120.0);
}

TEST (PatternData, XmlRoundTrip)
{
    PatternData p;
    p.name = juce::String::fromUTF8 ("R\xc3\xbc"
                                     "ckw\xc3\xa4rts");
    p.length = 12;
    p.scale = 3;
    p.shuffle = 0.8;
    p.setTempo (87.3);

    for (int t = 0; t < 8; ++t)
        for (int s = 0; s < 12; ++s)
            p.setStep (t, s, (t * 7 + s * 3) % 3);

    juce::XmlElement element ("Pattern");
    p.writeXml (element);
    auto reparsed = juce::parseXML (element.toString());
    ASSERT_NE (reparsed, nullptr);

    PatternData q;
    q.readXml (*reparsed);
    EXPECT_EQ (q, p);
}
