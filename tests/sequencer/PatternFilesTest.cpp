#include "FakeSequencerOwner.h"
#include "sequencer/PulsaretSeq.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

void PrintTo (const PatternData& p, std::ostream* out)
{
    *out << p.name << " " << p.length << "/" << p.scale << "/" << p.shuffle << "/" << p.tempo;
    for (int t = 0; t < 8; ++t)
        *out << " " << p.getTrackString (t);
}

namespace
{
std::unique_ptr<juce::XmlElement> parse (const juce::String& text)
{
    return juce::parseXML (text);
}

juce::String patternText (const char* name, const char* bd, const char* application = "Pulsaret")
{
    return juce::String ("<Pattern application='") + application + "' name='" + name + "' length='8'><BD>" + bd + "</BD></Pattern>";
}

std::vector<PatternData> snapshot (PulsaretSeq& seq)
{
    std::vector<PatternData> all;
    for (int i = 0; i < 96; ++i)
        all.push_back (*seq.getPattern (i));
    return all;
}

} // namespace

TEST (PatternFiles, ExtensionsAndFilters)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    EXPECT_FALSE (seq.hasSeparateHostAndNativePatterns());
    EXPECT_EQ (seq.getPatternFileExtension(), ".PXptr");
    EXPECT_EQ (seq.getPatternBankFileExtension(), ".PXptrb");
    EXPECT_EQ (seq.getPatternFileFilter(), "*.PXptr");
    EXPECT_EQ (seq.getPatternBankFileFilter(), "*.PXptrb");
    EXPECT_EQ (seq.getNumPatterns(), 96);
}

TEST (PatternFiles, PatternElementIsCheckedAndReadExactly)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);

    auto good = parse (patternText ("Beat", "o.o."));
    auto foreign = parse (patternText ("Other", "oooo", "Elsewhere"));
    auto missing = parse ("<Pattern name='X'><BD>oooo</BD></Pattern>");
    auto wrongTag = parse ("<Patterns application='Pulsaret'><BD>oooo</BD></Patterns>");
    auto otherCase = parse ("<PATTERN APPLICATION='PULSARET' name='Case'><BD>O</BD></PATTERN>");

    EXPECT_TRUE (seq.isPatternXml (*good));
    EXPECT_FALSE (seq.isPatternXml (*foreign));
    EXPECT_FALSE (seq.isPatternXml (*missing));
    EXPECT_FALSE (seq.isPatternXml (*wrongTag));
    EXPECT_TRUE (seq.isPatternXml (*otherCase));

    auto& slot = *seq.getPattern (4);
    for (int t = 0; t < 8; ++t)
        for (int s = 0; s < 16; ++s)
            slot.setStep (t, s, 1);
    const auto before = slot;

    EXPECT_FALSE (seq.readPatternXml (*foreign, 4));
    EXPECT_FALSE (seq.readPatternXml (*good, 96));
    EXPECT_FALSE (seq.readPatternXml (*good, -1));
    EXPECT_EQ (slot, before);

    // Exactly what the element holds: nothing of the slot's old steps survives.
    EXPECT_TRUE (seq.readPatternXml (*good, 4));
    EXPECT_EQ (slot.name, "Beat");
    EXPECT_EQ (slot.length, 8);
    for (int t = 0; t < 8; ++t)
        for (int s = 0; s < 16; ++s)
            EXPECT_EQ (slot.getStep (t, s), t == 0 && (s == 0 || s == 2) ? 1 : 0) << t << " " << s;
}

TEST (PatternFiles, PatternFileTextAndRoundTrip)
{
    TempFolder temp;
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    auto& p = *seq.getPattern (10);
    p.name = "Half Time";
    p.length = 4;
    p.scale = 3;
    p.shuffle = 0.5;
    p.setTempo (85);
    p.setStep (0, 0, 2);
    p.setStep (1, 2, 1);

    const auto file = temp.folder.getChildFile ("one.PXptr");
    ASSERT_TRUE (seq.savePatternFile (10, file));
    // JUCE ends lines with CR LF and wraps attributes at 60 columns.
    EXPECT_EQ (file.loadFileAsString().replace ("\r\n", "\n"),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n\n"
               "<Pattern application=\"Pulsaret\" name=\"Half Time\" length=\"4\" scale=\"3\"\n"
               "         shuffle=\"0.5\" tempo=\"85.0\">\n"
               "  <BD>O...</BD>\n  <SD>..o.</SD>\n  <LT>....</LT>\n  <HT>....</HT>\n  <CY>....</CY>\n"
               "  <OH>....</OH>\n  <CH>....</CH>\n  <AC>....</AC>\n"
               "</Pattern>\n");

    ASSERT_TRUE (seq.loadPatternFile (20, file));
    EXPECT_EQ (*seq.getPattern (20), p);

    EXPECT_FALSE (seq.savePatternFile (96, temp.folder.getChildFile ("none.PXptr")));
    EXPECT_FALSE (temp.folder.getChildFile ("none.PXptr").exists());
}

TEST (PatternFiles, SavingReportsFailure)
{
    TempFolder temp;
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);

    EXPECT_FALSE (seq.savePatternFile (0, temp.folder.getChildFile ("missing/dir/a.PXptr")));
    EXPECT_FALSE (seq.savePatternBankFile (temp.folder.getChildFile ("missing/dir/a.PXptrb")));

    // A folder in the way of the target cannot be overwritten.
    const auto blocked = temp.folder.getChildFile ("blocked.PXptrb");
    ASSERT_TRUE (blocked.getChildFile ("inside").create());
    EXPECT_FALSE (seq.savePatternBankFile (blocked));
    EXPECT_TRUE (blocked.isDirectory());

    // An existing file is replaced whole.
    const auto target = temp.folder.getChildFile ("bank.PXptrb");
    ASSERT_TRUE (target.replaceWithText ("old"));
    EXPECT_TRUE (seq.savePatternBankFile (target));
    EXPECT_TRUE (target.loadFileAsString().startsWith ("<?xml"));
}

TEST (PatternFiles, DamagedAndForeignFilesChangeNothing)
{
    TempFolder temp;
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.getPattern (0)->setStep (3, 3, 2);
    seq.getPattern (0)->name = "Mine";
    const auto before = snapshot (seq);

    const auto damaged = temp.folder.getChildFile ("damaged.PXptrb");
    damaged.replaceWithText ("<PatternBank><Pattern application='Pulsaret' name='A'><BD>oooo</BD>");
    const auto cut = temp.folder.getChildFile ("cut.PXptr");
    cut.replaceWithText ("<Pattern application='Pulsaret' name='A'><BD>oo");
    const auto foreignBank = temp.folder.getChildFile ("foreign.PXptrb");
    foreignBank.replaceWithText ("<PatternBank>" + patternText ("F", "oooo", "Someone") + "</PatternBank>");
    const auto otherRoot = temp.folder.getChildFile ("other.PXptrb");
    otherRoot.replaceWithText ("<PresetBank>" + patternText ("F", "oooo") + "</PresetBank>");
    const auto binary = temp.folder.getChildFile ("binary.PXptr");
    binary.replaceWithData ("\x00\x01\x02\xff", 4);

    EXPECT_FALSE (seq.loadPatternBankFile (damaged));
    EXPECT_FALSE (seq.loadPatternBankFile (foreignBank));
    EXPECT_FALSE (seq.loadPatternBankFile (otherRoot));
    EXPECT_FALSE (seq.loadPatternBankFile (temp.folder.getChildFile ("absent.PXptrb")));
    EXPECT_FALSE (seq.loadPatternFile (0, binary));
    EXPECT_FALSE (seq.loadPatternFile (0, cut));
    EXPECT_FALSE (seq.loadPatternFile (0, foreignBank));
    EXPECT_FALSE (seq.loadPatternFile (0, temp.folder.getChildFile ("absent.PXptr")));

    EXPECT_EQ (snapshot (seq), before);
}

TEST (PatternFiles, BankReadingFillsIndicesInOrder)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);

    juce::String text = "<patternbank type='nativePattern'>";
    for (int i = 0; i < 100; ++i)
    {
        text << patternText (("P" + juce::String (i)).toRawUTF8(), "o");
        if (i == 0)
            text << "<Other application='Pulsaret'/>" << patternText ("Stranger", "O", "Elsewhere");
    }
    text << "</patternbank>";

    ASSERT_TRUE (seq.readPatternBankXml (*parse (text)));
    for (int i = 0; i < 96; ++i)
        ASSERT_EQ (seq.getPatternName (i), "P" + juce::String (i));

    // Patterns beyond the last child keep their contents.
    seq.getPattern (50)->name = "Kept";
    ASSERT_TRUE (seq.readPatternBankXml (*parse ("<PatternBank>" + patternText ("New", "o") + "</PatternBank>")));
    EXPECT_EQ (seq.getPatternName (0), "New");
    EXPECT_EQ (seq.getPatternName (1), "P1");
    EXPECT_EQ (seq.getPatternName (50), "Kept");
}

TEST (PatternFiles, BankFileAndStateRoundTrip)
{
    TempFolder temp;
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);

    for (int i = 0; i < 96; ++i)
    {
        auto& p = *seq.getPattern (i);
        p.name = "N" + juce::String (i);
        p.length = 1 + i % 16;
        p.scale = i % 2 == 0 ? 6 : 3;
        p.shuffle = (i % 9) / 10.0;
        p.setTempo (60 + i * 1.3);

        for (int t = 0; t < 8; ++t)
            for (int s = 0; s < p.length; ++s)
                p.setStep (t, s, (i + t + s * s) % 3);
    }

    const auto file = temp.folder.getChildFile ("all.PXptrb");
    ASSERT_TRUE (seq.savePatternBankFile (file));
    auto xml = juce::parseXML (file);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "PatternBank");
    EXPECT_FALSE (xml->hasAttribute ("type"));
    EXPECT_EQ (xml->getNumChildElements(), 96);

    PulsaretSeq other (owner);
    ASSERT_TRUE (other.loadPatternBankFile (file));
    EXPECT_EQ (snapshot (other), snapshot (seq));

    PulsaretSeq third (owner);
    auto state = seq.createPatternsStateXml();
    EXPECT_EQ (state->getTagName(), "PatternsState");
    ASSERT_TRUE (third.readPatternsStateXml (*state));
    EXPECT_EQ (snapshot (third), snapshot (seq));
    EXPECT_FALSE (third.readPatternsStateXml (*parse ("<PatternState/>")));
}

TEST (PatternFiles, EditionState)
{
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    seq.setEditedPatternIndex (37);

    auto xml = seq.createEditionStateXml();
    EXPECT_EQ (xml->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<DMSeqEditionState><EditedPattern value=\"37\"/></DMSeqEditionState>");

    PulsaretSeq other (owner);
    EXPECT_TRUE (other.readEditionStateXml (*xml));
    EXPECT_EQ (other.getEditedPatternIndex(), 37);

    other.readEditionStateXml (*parse ("<dmseqeditionstate><EditedPattern value='5'/><editedpattern VALUE='500'/></dmseqeditionstate>"));
    EXPECT_EQ (other.getEditedPatternIndex(), 95);
    other.readEditionStateXml (*parse ("<DMSeqEditionState><EditedPattern value='-7'/></DMSeqEditionState>"));
    EXPECT_EQ (other.getEditedPatternIndex(), 0);
    other.setEditedPatternIndex (12);
    other.readEditionStateXml (*parse ("<DMSeqEditionState><EditedPattern/></DMSeqEditionState>"));
    EXPECT_EQ (other.getEditedPatternIndex(), 0);

    other.setEditedPatternIndex (12);
    EXPECT_FALSE (other.readEditionStateXml (*parse ("<Other><EditedPattern value='3'/></Other>")));
    EXPECT_EQ (other.getEditedPatternIndex(), 12);
}

TEST (PatternFiles, StartUpSourcesAndInitialPatterns)
{
    TempFolder temp;
    FakeSequencerOwner owner;
    PulsaretSeq seq (owner);
    EXPECT_EQ (seq.getPatternsSource(), DrumMachineSeq::factoryPatterns);

    seq.setPatternsSource (DrumMachineSeq::clearPatterns);
    seq.setHostPatternsFile ("/h.PXptrb");
    auto xml = seq.createResourcesXml();
    EXPECT_EQ (xml->toString (juce::XmlElement::TextFormat().singleLine().withoutHeader()),
               "<DMSeqRes><HostPatterns default=\"userDefinedPatterns\" file=\"/h.PXptrb\"/>"
               "<NativePatterns default=\"factoryPatterns\" file=\"\"/>"
               "<Patterns default=\"clearPatterns\" file=\"\"/></DMSeqRes>");

    PulsaretSeq other (owner);
    ASSERT_TRUE (other.readResourcesXml (*xml));
    EXPECT_EQ (other.getPatternsSource(), DrumMachineSeq::clearPatterns);
    EXPECT_EQ (other.getPatternsSource (DrumMachineSeq::hostPatternSet), DrumMachineSeq::userDefinedPatterns);
    EXPECT_EQ (other.getPatternsFile (DrumMachineSeq::hostPatternSet), "/h.PXptrb");

    // Values compare exactly: another letter case leaves the source alone.
    other.readResourcesXml (*parse ("<DMSeqRes><Patterns default='FactoryPatterns'/></DMSeqRes>"));
    EXPECT_EQ (other.getPatternsSource(), DrumMachineSeq::clearPatterns);

    // Clear: every pattern named by its number, empty, 16 steps at 120 BPM.
    other.loadInitialPatterns();
    for (int i = 0; i < 96; ++i)
    {
        const auto& p = *other.getPattern (i);
        ASSERT_EQ (p.name, "Pattern " + juce::String (i + 1));
        ASSERT_EQ (p.length, 16);
        ASSERT_EQ (p.tempo, 120.0);
        ASSERT_EQ (p.getTrackString (0), "................");
    }

    // User defined: the bank file; an unreadable one leaves the named patterns.
    seq.getPattern (0)->name = "From File";
    const auto bank = temp.folder.getChildFile ("user.PXptrb");
    ASSERT_TRUE (seq.savePatternBankFile (bank));

    PulsaretSeq user (owner);
    user.setPatternsFile (bank.getFullPathName());
    EXPECT_EQ (user.getPatternsSource(), DrumMachineSeq::userDefinedPatterns);
    user.loadInitialPatterns();
    EXPECT_EQ (user.getPatternName (0), "From File");
    EXPECT_EQ (user.getPatternName (1), "Empty");

    PulsaretSeq broken (owner);
    broken.setPatternsFile (temp.folder.getChildFile ("gone.PXptrb").getFullPathName());
    broken.loadInitialPatterns();
    EXPECT_EQ (broken.getPatternName (0), "Pattern 1");
    broken.setPatternsFile ("relative/name.PXptrb");
    broken.loadInitialPatterns();
    EXPECT_EQ (broken.getPatternName (95), "Pattern 96");
}
