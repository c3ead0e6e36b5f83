#include "FakeSequencerOwner.h"
#include "framework/EmbeddedResources.h"
#include "sequencer/PulsaretSeq.h"

#include <gtest/gtest.h>

#include <set>

TEST (FactoryBank, HoldsNinetySixWellFormedPatterns)
{
    auto xml = juce::parseXML (loadXmlResource ("default.PXptrb"));
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "PatternBank");
    EXPECT_EQ (xml->getNumChildElements(), 96);

    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    std::set<juce::String> names;

    for (auto* child : xml->getChildIterator())
    {
        ASSERT_TRUE (seq.isPatternXml (*child)) << child->toString();
        EXPECT_EQ (child->getStringAttribute ("application"), "Pulsaret");

        PatternData p;
        p.readXml (*child);
        EXPECT_TRUE (p.name.isNotEmpty());
        names.insert (p.name);

        // Every value is already in range, and every track text is exactly the length.
        EXPECT_EQ (child->getIntAttribute ("length"), p.length) << p.name;
        EXPECT_EQ (child->getIntAttribute ("scale"), p.scale) << p.name;
        EXPECT_EQ (child->getDoubleAttribute ("shuffle"), p.shuffle) << p.name;
        EXPECT_NEAR (child->getDoubleAttribute ("tempo"), p.tempo, 1e-9) << p.name;

        int tracks = 0;
        int hits = 0;

        for (auto* track : child->getChildIterator())
        {
            const auto text = track->getAllSubText();
            EXPECT_EQ (text.length(), p.length) << p.name << " " << track->getTagName();
            EXPECT_TRUE (text.containsOnly (".oO")) << p.name;
            EXPECT_EQ (p.getTrackString (tracks), text) << p.name;
            EXPECT_EQ (PatternData::getTrackTag (tracks), track->getTagName());

            if (tracks < PatternData::accentTrack)
                hits += text.removeCharacters (".").isNotEmpty() ? 1 : 0;

            ++tracks;
        }

        EXPECT_EQ (tracks, 8) << p.name;
        EXPECT_GT (hits, 0) << p.name;
    }

    EXPECT_EQ (names.size(), 96u);
}

TEST (FactoryBank, LoadsAtStartUpWithTheNamedFirstPatterns)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.loadInitialPatterns();

    const char* const first[] = {"Swinged Funk", "Rhumba", "Electro Dreams", "DnB", "Ar'n'Bee"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ (seq.getPatternName (i), first[i]);

    std::set<int> scales, lengths;
    bool shuffled = false;
    bool accented = false;

    for (int i = 0; i < 96; ++i)
    {
        const auto& p = *seq.getPattern (i);
        EXPECT_NE (p.name, "Pattern " + juce::String (i + 1));
        scales.insert (p.scale);
        lengths.insert (p.length);
        shuffled = shuffled || p.shuffle > 0.0;
        accented = accented || p.getTrackString (PatternData::accentTrack).containsChar ('O');
    }

    EXPECT_EQ (scales, (std::set<int>{3, 4, 6, 8}));
    EXPECT_GT (lengths.size(), 3u);
    EXPECT_TRUE (shuffled);
    EXPECT_TRUE (accented);

    // Saved and read back through the sequencer's own writer, the bank is unchanged.
    auto bank = seq.createPatternBankXml();
    PulsaretSeq copy (owner);
    ASSERT_TRUE (copy.readPatternBankXml (*bank));
    for (int i = 0; i < 96; ++i)
        EXPECT_EQ (*copy.getPattern (i), *seq.getPattern (i)) << i;
}
