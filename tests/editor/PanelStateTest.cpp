#include "EditorTestHost.h"
#include "tests/gui/widgets/WidgetTestSupport.h"

#include "gui/widgets/GFXDisplay.h"
#include "gui/widgets/NumericDisplay.h"
#include "gui/widgets/PatternNumberDisplay.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
/** A started Pulsaret whose panel opens when the test says: from the instance's start,
    before its first values reach the widgets, or after some changes. */
struct PanelHost : public PulsaretTestHost
{
    PanelHost()
    {
        PulsaretEditor::install();
        plugin->postInitialise();
    }

    PulsaretEditor& editor() const { return editorOf (*plugin); }

    template <typename Widget>
    Widget& widget (const juce::String& name) const
    {
        return skinWidget<Widget> (editor(), name);
    }

    void open() { panel = std::make_unique<widgettest::RetainedPicture> (editor()); }

    /** A change as a host makes it: the call, then the messages it posted; an open
        panel repaints after each, as its window would. */
    void apply (const std::function<void (PanelHost&)>& change)
    {
        if (change)
            change (*this);

        repaintOpenPanel();
        pumpPendingMessages();
        repaintOpenPanel();
    }

    void repaintOpenPanel() const
    {
        if (panel != nullptr)
            (void) panel->shown();
    }

    /** The pattern number's digits as their frames read ("1-01", "P.C-1"; empty when dark). */
    juce::String shownNumber() const
    {
        auto& display = widget<PatternNumberDisplay> ("PatternNumberDisplay");
        juce::String text;

        for (int i = 0; i < display.getNumDigits(); ++i)
            text << display.getDigit (i)->getFrameText (display.getDigit (i)->getFrameToShow());

        return text;
    }

    /** The tempo's digits as their frames read, the skin's point after the third ("98.0"). */
    juce::String shownTempo() const
    {
        auto& display = widget<NumericDisplay> ("TempoDisplay");
        juce::String text;

        for (int i = 0; i < display.getNumDigitComponents(); ++i)
        {
            const int frame = display.getDigit (i)->getFrameToShow();
            text << (frame == 0 ? juce::String (" ") : juce::String (frame - 1)) << (i == 2 && frame > 0 ? "." : "");
        }

        return text.trim();
    }

    std::unique_ptr<widgettest::RetainedPicture> panel;
};

/** The chunk of another instance after the given changes. */
juce::MemoryBlock chunkOf (const std::function<void (Pulsaret&)>& shape)
{
    PulsaretTestHost other;
    shape (*other.plugin);
    juce::MemoryBlock chunk;
    other.plugin->getStateInformation (chunk);
    return chunk;
}

void restore (PanelHost& host, const juce::MemoryBlock& chunk)
{
    host.plugin->setStateInformation (chunk.getData(), (int) chunk.getSize());
}

/** Pattern buttons while the sequencer plays natively: 1 to 12 the slots, 13 to 16 the banks. */
void press (Pulsaret& plugin, int button)
{
    plugin.handleEvent (DrumMachine::pressStepEvent + button - 1);
}
} // namespace

// The same state gives the same picture whether the panel was open during the change or
// opened after it, and the pattern displays read that state.
TEST (PanelState, OpenDuringTheChangeOrOpenedAfterItShowsTheSameState)
{
    ASSERT_TRUE (EditorTestHost::hasEmbeddedSkin());

    using Step = std::function<void (PanelHost&)>;
    constexpr int fromStart = -1;

    const auto pattern307 = chunkOf ([] (Pulsaret& p)
                                     {
                                         press (p, 15); // bank 3
                                         press (p, 7); });
    const auto sequencerOff = chunkOf ([] (Pulsaret& p)
                                       { p.setInternalSequencer (false); });

    const Step restore307 = [&] (PanelHost& h)
    { restore (h, pattern307); };
    const Step restoreSequencerOff = [&] (PanelHost& h)
    { restore (h, sequencerOff); };
    const Step hostMode = [] (PanelHost& h)
    { h.plugin->setHostMode (true); };
    const Step writeMode = [] (PanelHost& h)
    { h.plugin->setPatternWriteMode (true); };
    const Step editNext = [] (PanelHost& h)
    { h.plugin->handleEvent (DrumMachine::nextEvent); };
    const Step sequencerOffNow = [] (PanelHost& h)
    { h.plugin->setInternalSequencer (false); };
    const Step syncOff = [] (PanelHost& h)
    { h.plugin->setInternalSync (false); };
    const Step syncOn = [] (PanelHost& h)
    { h.plugin->setInternalSync (true); };
    const Step playPattern2 = [] (PanelHost& h)
    { press (*h.plugin, 2); };
    const Step programChange = [] (PanelHost& h)
    {
        juce::MidiBuffer events;
        events.addEvent (juce::MidiMessage::programChange (1, 1), 0);
        h.process (PulsaretTestHost::blockSize, events);
    };

    struct Row
    {
        const char* state;
        int openAfter; // steps done before the panel opens
        std::vector<Step> steps;
        const char *number, *name, *tempo;
    };

    const Row rows[] = {
        {"a fresh instance", fromStart, {}, "1-01", "Swinged Funk", "98.0"},
        {"a chunk with pattern 3-07", 0, {restore307}, "3-07", "Go-Go Swing", "96.0"},
        {"host mode on", 0, {hostMode}, "P.C-1", "Swinged Funk", "98.0"},
        {"write mode on, another pattern edited", 0, {writeMode, editNext}, "1-02", "Rhumba", "112.0"},
        {"internal sequencer off", 0, {sequencerOffNow}, "", "", ""},
        {"a chunk with the internal sequencer off", 0, {restoreSequencerOff}, "", "", ""},
        {"internal sync off", 0, {syncOff}, "1-01", "Swinged Funk", ""},
        {"sync off, on, another tempo", 1, {syncOff, syncOn, playPattern2}, "1-02", "Rhumba", "112.0"},
        {"a program change to another kit", 0, {programChange}, "1-01", "Swinged Funk", "98.0"},
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.state);
        PanelHost host;

        if (row.openAfter == fromStart)
            host.open();

        host.apply ({}); // the instance's first values

        for (int i = 0; i < (int) row.steps.size(); ++i)
        {
            if (i == row.openAfter)
                host.open();

            host.apply (row.steps[(size_t) i]);
        }

        ASSERT_NE (host.panel, nullptr);
        const auto stale = host.panel->difference();
        EXPECT_TRUE (stale.isEmpty()) << "differs in " << stale.toString();
        EXPECT_EQ (host.shownNumber(), juce::String (row.number));
        EXPECT_EQ (host.widget<GFXDisplay> ("PatternNameDisplay").getText(), juce::String (row.name));
        EXPECT_EQ (host.shownTempo(), juce::String (row.tempo));
    }
}
