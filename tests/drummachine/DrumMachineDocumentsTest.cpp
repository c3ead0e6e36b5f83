#include "drummachine/DrumMachineDocuments.h"
#include "FakeStateOwner.h"
#include "framework/ParameterManager.h"
#include "framework/XmlDocuments.h"
#include "sequencer/PulsaretSeq.h"
#include "tests/TempFolder.h"
#include "tests/sequencer/FakeSequencerOwner.h"

#include <gtest/gtest.h>

namespace
{
struct DocumentsFixture
{
    FakeStateOwner owner;
    ParameterManager store;
    OutputRouting routing{owner, store};
    DrumMap drumMap;
    juce::CriticalSection lock;
    DrumMachineDocuments documents{owner, routing, drumMap, lock};
};

juce::String text (const juce::XmlElement& element)
{
    return element.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
}
} // namespace

TEST (DrumMachineDocuments, SequencerStateIsWrittenFromTheModesAndReadInTheDocumentsOrder)
{
    DocumentsFixture f;
    f.owner.intSeq = true;
    f.owner.host = true;
    f.owner.autoFollow = true;
    f.owner.intSync = false;

    EXPECT_EQ (text (*f.documents.createInternalSequencerStateXml()),
               "<InternalSequencer><IntSeq state=\"on\"/><IntSync state=\"off\"/><HostMode state=\"on\"/>"
               "<NoteOff state=\"off\"/><PattWriteMode state=\"on\"/><AutoFollow state=\"on\"/></InternalSequencer>");

    f.documents.readInternalSequencerStateXml (*parseXmlText ("<InternalSequencer><hostmode state=\"ON\"/><IntSeq state=\"off\"/>"
                                                              "<Unknown state=\"on\"/><AutoFollow/><NoteOff state=\"on\"/></InternalSequencer>"));
    EXPECT_EQ (f.owner.calls.joinIntoString (", "), "HostMode off, IntSeq off, AutoFollow off, NoteOff on");
}

TEST (DrumMachineDocuments, SettingsChangeOnlyTheDefaultsTheyName)
{
    DocumentsFixture f;

    f.documents.readInternalSequencerSettingsXml (*parseXmlText ("<InternalSequencer><HostMode state=\"on\"/><IntSeq state=\"off\"/>"
                                                                 "<HostPlayDetection type=\"byLowestCNoteOn\"/></InternalSequencer>"));
    EXPECT_EQ (f.owner.defaults, (std::array<bool, 4>{false, true, true, false}));
    EXPECT_EQ (f.owner.detection, DrumMachineDocuments::byLowestCNoteOn);

    // A foreign element, or a detection of another name, changes nothing.
    f.documents.readInternalSequencerSettingsXml (*parseXmlText ("<Sequencer><IntSync state=\"off\"/></Sequencer>"));
    f.documents.readInternalSequencerSettingsXml (*parseXmlText ("<InternalSequencer><HostPlayDetection type=\"byNote\"/></InternalSequencer>"));
    EXPECT_EQ (f.owner.defaults, (std::array<bool, 4>{false, true, true, false}));
    EXPECT_EQ (f.owner.detection, DrumMachineDocuments::byLowestCNoteOn);
    EXPECT_TRUE (f.owner.calls.isEmpty());

    EXPECT_EQ (text (*f.documents.createInternalSequencerSettingsXml()),
               "<InternalSequencer><IntSeq state=\"off\"/><IntSync state=\"on\"/><HostMode state=\"on\"/>"
               "<NoteOff state=\"off\"/><HostPlayDetection type=\"byLowestCNoteOn\"/></InternalSequencer>");
}

TEST (DrumMachineDocuments, DrumMapOfAnotherApplicationChangesNothing)
{
    DocumentsFixture f;
    const char* map = "<DrumMap application=\"%s\" ver=\"1.1\" name=\"Kit\"><assign midiKey=\"36\" instrument=\"SD\"/></DrumMap>";
    const char* foreign[] = {"Other", ""};

    for (auto* application : foreign)
    {
        auto element = parseXmlText (juce::String (map).replace ("%s", application));
        EXPECT_FALSE (f.documents.readDrumMapXml (*element)) << application;
        EXPECT_EQ (f.drumMap.getInstrument (36), DrumMap::noInstrument);
    }

    EXPECT_TRUE (f.documents.readDrumMapXml (*parseXmlText (juce::String (map).replace ("%s", "PULSARET"))));
    EXPECT_EQ (f.drumMap.getInstrument (36), 1);
    EXPECT_EQ (f.drumMap.getName(), "Kit");

    TempFolder folder;
    const auto file = folder.file ("kit.PXdrmap");
    ASSERT_TRUE (f.documents.saveDrumMapFile (file));
    f.documents.clearDrumMap();
    ASSERT_TRUE (f.documents.loadDrumMapFile (file));
    EXPECT_EQ (f.drumMap.getInstrument (36), 1);
    EXPECT_EQ (f.owner.hostRefreshes, 1);

    EXPECT_FALSE (f.documents.loadDrumMapFile (folder.file ("missing.PXdrmap")));
    EXPECT_EQ (f.owner.hostRefreshes, 1);
    EXPECT_EQ (f.documents.getDrumMapFileFilter(), "*.PXdrmap; *.mid");
}

TEST (DrumMachineDocuments, StartupDrumMapRoundTrips)
{
    DocumentsFixture f;
    EXPECT_EQ (text (*f.documents.createDrumMapStartupXml()), "<DrumMap default=\"factoryMapping\"/>");

    f.documents.readDrumMapStartupXml (*parseXmlText ("<DrumMap default=\"userDefinedDrumMap\" file=\"/maps/kit.PXdrmap\"/>"));
    EXPECT_EQ (f.documents.getDrumMapSource(), DrumMachineDocuments::userDrumMap);
    EXPECT_EQ (text (*f.documents.createDrumMapStartupXml()), "<DrumMap default=\"userDefinedDrumMap\" file=\"/maps/kit.PXdrmap\"/>");

    f.documents.readDrumMapStartupXml (*parseXmlText ("<DrumMap default=\"somewhere\"/>"));
    EXPECT_EQ (f.documents.getDrumMapSource(), DrumMachineDocuments::userDrumMap);
    f.documents.readDrumMapStartupXml (*parseXmlText ("<DrumMap default=\"factoryMapping\"/>"));
    EXPECT_EQ (f.documents.getDrumMapSource(), DrumMachineDocuments::factoryDrumMap);
}
