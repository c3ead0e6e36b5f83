#include "PulsaretTestHost.h"

#include <gtest/gtest.h>

#include <vector>

// The panel's events against the real instrument, as a table: from a known start (pattern write mode, the bass
// drum selected, pattern 0 edited), the events of "before", then the event; afterwards the edited pattern,
// the selection, the published modes and the clipboard are described in one line and compared.
namespace
{
using DM = DrumMachine;

const char* const trackNames[] = {"BD", "SD", "LT", "HT", "CY", "OH", "CH", "AC"};

// True when the description matches the expected one, in which "XX=*" stands for any change of track XX.
bool matches (const juce::String& description, const juce::String& expected)
{
    auto actual = juce::StringArray::fromTokens (description, " ", "");
    auto wanted = juce::StringArray::fromTokens (expected, " ", "");

    if (actual.size() != wanted.size())
        return false;

    for (int i = 0; i < actual.size(); ++i)
        if (wanted[i].endsWith ("=*") ? !actual[i].startsWith (wanted[i].dropLastCharacters (1)) : actual[i] != wanted[i])
            return false;

    return true;
}

// Pattern 0 at the start; pattern 1 is the same with a low tom on the first step.
const char* const startPattern[] = {"o...o...o...o...", "....O.......O...", "................", "................",
                                    "................", "................", "o.o.o.o.o.o.o.o.", "O.......O......."};

class Panel
{
public:
    Panel()
        : plugin (*host.plugin)
        , seq (host.seq())
    {
        seq.seedGenerator (7);

        for (int index : {1, 0})
        {
            seq.setEditedPatternIndex (index);
            seq.setEditedPatternTempo (120.0);
            seq.setEditedPatternShuffle (0.0);
            seq.setEditedPatternLength (16);

            for (int track = 0; track < DM::numTracks; ++track)
                for (int step = 0; step < 16; ++step)
                    seq.setStep (track, step, (int) std::string (".oO").find (startPattern[track][step]));
        }

        seq.setEditedPatternIndex (1);
        seq.setStep (2, 0, 1);
        seq.setEditedPatternIndex (0);
        plugin.handleEvent (DM::togglePatternWriteModeEvent);
        plugin.selectInstrument (0);
    }

    // "#<edited pattern> <length>/<scale> sel=<published selection> rnd=<published random track> <modes> clip=<T><P>
    // tap=<tap buffer>", then every track of the edited pattern that differs from the start pattern.
    juce::String describe()
    {
        juce::String text;
        text << "#" << seq.getEditedPatternIndex() << " " << seq.getEditedPatternLength() << "/" << seq.getEditedPatternScale() << " sel=";

        for (int t = 0; t < DM::numTracks; ++t)
            text << (flag (DM::firstSelectionUid + t) ? "1" : "0");

        text << " rnd=";
        int random = -1;

        for (int t = 0; t < DM::numTracks; ++t)
            if (flag (DM::firstRandSelectionUid + t))
                random = t;

        text << (random < 0 ? juce::String ("-") : juce::String (trackNames[random])) << " ";

        // Published: write mode, auto follow, randomizer, filled, empty, length, tap, flam; then the stored
        // auto follow flag, which length and tap mode hide.
        const char letters[] = "WARrxLTF";

        for (int i = 0; i < 8; ++i)
            text << (flag (DM::writeModeStateUid + (i == 0 ? 0 : i + 1)) ? juce::String::charToString (letters[i]) : ".");

        text << (plugin.isAutoFollowOn() ? "a" : ".");
        text << " clip=" << (plugin.isClipboardTracksFilled() ? "T" : ".") << (plugin.isClipboardPatternFilled() ? "P" : ".");
        EXPECT_EQ (flag (DM::clipboardTracksStateUid), plugin.isClipboardTracksFilled());
        EXPECT_EQ (flag (DM::clipboardPatternStateUid), plugin.isClipboardPatternFilled());

        text << " tap=";

        if (seq.hasTappedValues())
            for (int t = 0; t < DM::numTracks; ++t)
                text << seq.getTapValue (t);
        else
            text << "-";

        if (!plugin.isEditing())
            return text + " chain=" + juce::String (seq.getChainBank()) + ":" + juce::String (seq.getChainFirst()) + "-" + juce::String (seq.getChainLast());

        for (int t = 0; t < DM::numTracks; ++t)
        {
            juce::String steps;

            for (int s = 0; s < 16; ++s)
                steps << juce::String::charToString (".oO?"[juce::jlimit (0, 3, seq.getStep (t, s))]);

            if (steps != startPattern[t])
                text << " " << trackNames[t] << "=" << steps;
        }

        return text;
    }

    bool flag (int uid) { return host.parameter (uid).getBoolValue(); }

    PulsaretTestHost host;
    Pulsaret& plugin;
    PulsaretSeq& seq;
};

constexpr int step (int n)
{
    return DM::pressStepEvent + n - 1;
}
constexpr int ctrlStep (int n)
{
    return DM::pressStepWithCtrlEvent + n - 1;
}
constexpr int selectTrack (int t)
{
    return 28 + t;
}
constexpr int toggleSelection (int t)
{
    return 36 + t;
}
constexpr int tapAccept = 60;

constexpr const char* start = "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=-";
} // namespace

TEST (PanelEvents, EachEventFromItsStateBefore)
{
    const struct
    {
        std::vector<int> before;
        int event;
        const char* after;
    } table[] = {
        // Steps: a single track cycles; several tracks take the next value of what they share.
        {{}, step (4), "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=- BD=o..oo...o...o..."},
        {{}, step (5), "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=- BD=o...O...o...o..."},
        {{}, ctrlStep (4), start},
        {{toggleSelection (1)}, step (5), "#0 16/4 sel=11000000 rnd=- W........ clip=.. tap=- SD=....o.......O..."},
        {{toggleSelection (1)}, step (13), "#0 16/4 sel=11000000 rnd=- W........ clip=.. tap=- SD=....O.......o..."},
        {{DM::toggleLengthModeEvent}, step (6), "#0 6/4 sel=10000000 rnd=- W....L... clip=.. tap=-"},
        {{DM::toggleLengthModeEvent}, ctrlStep (6), "#0 16/4 sel=10000000 rnd=- W....L... clip=.. tap=-"},
        {{DM::toggleTapModeEvent}, step (5), "#0 16/4 sel=00000000 rnd=- WA....T.. clip=.. tap=01000000"},
        {{DM::toggleTapModeEvent}, step (2), "#0 16/4 sel=00000000 rnd=- WA....T.. clip=.. tap=00000002"},
        {{}, DM::selectScale3Event, "#0 16/3 sel=10000000 rnd=- W........ clip=.. tap=-"},

        // Selection.
        {{}, selectTrack (1), "#0 16/4 sel=01000000 rnd=- W........ clip=.. tap=-"},
        {{}, selectTrack (7), "#0 16/4 sel=00000001 rnd=- W........ clip=.. tap=-"},
        {{}, toggleSelection (6), "#0 16/4 sel=10000010 rnd=- W........ clip=.. tap=-"},
        {{}, toggleSelection (0), start},
        {{toggleSelection (6)}, toggleSelection (0), "#0 16/4 sel=00000010 rnd=- W........ clip=.. tap=-"},

        // Shifts, clearing.
        {{}, DM::shiftRightEvent, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=- BD=.o...o...o...o.."},
        {{}, DM::shiftLeftEvent, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=- BD=...o...o...o...o"},
        {{}, DM::shiftLeftAllTracksEvent, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=- BD=...o...o...o...o SD=...O.......O.... CH=.o.o.o.o.o.o.o.o AC=.......O.......O"},
        {{}, DM::shiftRightAllTracksEvent, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=- BD=.o...o...o...o.. SD=.....O.......O.. CH=.o.o.o.o.o.o.o.o AC=.O.......O......"},
        {{DM::toggleRandomizerEvent}, DM::shiftRightAllTracksEvent, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=-"},
        {{}, DM::clearEvent, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=- BD=................"},
        {{}, DM::clearAllInstrumentsEvent, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=- BD=................ SD=................ CH=................ AC=................"},
        {{DM::toggleLengthModeEvent}, DM::clearAllInstrumentsEvent, "#0 16/4 sel=10000000 rnd=- W....L... clip=.. tap=-"},

        // Clipboard: one copied track goes into every selected track, several go back onto themselves.
        {{}, DM::copyTracksEvent, "#0 16/4 sel=10000000 rnd=- W........ clip=T. tap=-"},
        {{DM::copyTracksEvent, selectTrack (1)}, DM::pasteEvent, "#0 16/4 sel=01000000 rnd=- W........ clip=T. tap=- SD=o...o...o...o..."},
        {{DM::copyTracksEvent, selectTrack (2), toggleSelection (3)}, DM::pasteEvent, "#0 16/4 sel=00110000 rnd=- W........ clip=T. tap=- LT=o...o...o...o... HT=o...o...o...o..."},
        {{toggleSelection (1), DM::copyTracksEvent, step (2), selectTrack (2)}, DM::pasteEvent, "#0 16/4 sel=00100000 rnd=- W........ clip=T. tap=-"},
        {{DM::copyPatternEvent}, DM::nextEvent, "#1 16/4 sel=10000000 rnd=- W........ clip=.P tap=- LT=o..............."},
        {{DM::copyPatternEvent, DM::nextEvent}, DM::pasteEvent, "#1 16/4 sel=10000000 rnd=- W........ clip=.P tap=-"},
        {{DM::copyTracksEvent}, DM::copyPatternEvent, "#0 16/4 sel=10000000 rnd=- W........ clip=.P tap=-"},
        {{DM::copyTracksEvent}, DM::undoEvent, start},
        {{DM::copyPatternEvent}, DM::undoEvent, start},
        {{DM::copyTracksEvent}, DM::clearEvent, start},
        {{}, DM::pasteEvent, start},

        // The edited pattern, unless auto follow holds it.
        {{}, DM::nextEvent, "#1 16/4 sel=10000000 rnd=- W........ clip=.. tap=- LT=o..............."},
        {{DM::nextEvent}, DM::prevEvent, start},
        {{}, DM::prevEvent, start},
        {{DM::toggleAutoFollowModeEvent}, DM::nextEvent, "#0 16/4 sel=10000000 rnd=- WA......a clip=.. tap=-"},

        // Modes: auto follow only outside length and tap mode; each edit sub-mode ends the others.
        {{}, DM::toggleAutoFollowModeEvent, "#0 16/4 sel=10000000 rnd=- WA......a clip=.. tap=-"},
        {{DM::toggleLengthModeEvent}, DM::toggleAutoFollowModeEvent, "#0 16/4 sel=10000000 rnd=- W....L... clip=.. tap=-"},
        {{DM::toggleTapModeEvent}, DM::toggleAutoFollowModeEvent, "#0 16/4 sel=00000000 rnd=- WA....T.. clip=.. tap=-"},
        {{}, DM::toggleLengthModeEvent, "#0 16/4 sel=10000000 rnd=- W....L... clip=.. tap=-"},
        {{DM::toggleLengthModeEvent}, DM::toggleTapModeEvent, "#0 16/4 sel=00000000 rnd=- WA....T.. clip=.. tap=-"},
        {{DM::toggleTapModeEvent}, DM::toggleLengthModeEvent, "#0 16/4 sel=10000000 rnd=- W....L... clip=.. tap=-"},
        {{}, DM::toggleFlamModeEvent, "#0 16/4 sel=10000000 rnd=- W......F. clip=.. tap=-"},

        // Taps: the selected tracks, or one track; flam mode taps the erase value.
        {{}, DM::tapEvent, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=10000000"},
        {{toggleSelection (7)}, DM::tapAccentedEvent, "#0 16/4 sel=10000001 rnd=- W........ clip=.. tap=20000002"},
        {{}, 45, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=01000000"},
        {{}, 59, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=00000002"},
        {{DM::toggleFlamModeEvent}, DM::tapAccentedEvent, "#0 16/4 sel=10000000 rnd=- W......F. clip=.. tap=00000000"},
        {{}, tapAccept, "#0 16/4 sel=10000000 rnd=- W........ clip=.. tap=10000000"},

        // The randomizer: on, a result, previous and next, accept or undo; event 60 accepts.
        {{}, DM::toggleRandomizerEvent, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=-"},
        {{DM::toggleTapModeEvent}, DM::toggleRandomizerEvent, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=-"},
        {{DM::toggleLengthModeEvent}, DM::toggleRandomizerEvent, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=-"},
        {{DM::toggleRandomizerEvent}, DM::toggleTapModeEvent, "#0 16/4 sel=00000000 rnd=- WA....T.. clip=.. tap=-"},
        {{DM::toggleRandomizerEvent}, DM::nextEvent, "#0 16/4 sel=10000000 rnd=BD W.Rr..... clip=.. tap=- BD=*"},
        {{DM::toggleRandomizerEvent, DM::nextEvent, DM::nextEvent}, DM::prevEvent, "#0 16/4 sel=10000000 rnd=BD W.Rr..... clip=.. tap=- BD=*"},
        {{toggleSelection (1), DM::toggleRandomizerEvent, DM::nextEvent}, selectTrack (1), "#0 16/4 sel=11000000 rnd=SD W.Rr..... clip=.. tap=- BD=* SD=*"},
        {{DM::toggleRandomizerEvent, DM::nextEvent}, selectTrack (1), "#0 16/4 sel=10000000 rnd=BD W.Rr..... clip=.. tap=- BD=*"},
        {{DM::toggleRandomizerEvent, DM::nextEvent}, DM::acceptEvent, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=- BD=*"},
        {{DM::toggleRandomizerEvent, DM::nextEvent}, tapAccept, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=- BD=*"},
        {{DM::toggleRandomizerEvent, DM::nextEvent}, DM::undoEvent, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=-"},
        {{DM::toggleRandomizerEvent, DM::nextEvent}, DM::toggleRandomizerEvent, start},
        {{DM::toggleRandomizerEvent, DM::nextEvent}, DM::toggleFlamModeEvent, "#0 16/4 sel=10000000 rnd=BD W.Rr..... clip=.. tap=- BD=*"},
        {{DM::toggleRandomizerEvent}, tapAccept, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=-"},
        {{DM::toggleRandomizerEvent}, DM::tapEvent, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=-"},
        {{DM::toggleRandomizerEvent}, DM::copyTracksEvent, "#0 16/4 sel=10000000 rnd=- W.R.x.... clip=.. tap=-"},

        // Outside editing the step buttons choose patterns and banks; most commands do nothing.
        {{DM::togglePatternWriteModeEvent}, step (3), "#2 16/4 sel=00000000 rnd=- ......... clip=.. tap=- chain=0:2-2"},
        {{DM::togglePatternWriteModeEvent, step (3)}, ctrlStep (6), "#2 16/4 sel=00000000 rnd=- ......... clip=.. tap=- chain=0:2-5"},
        {{DM::togglePatternWriteModeEvent}, DM::clearAllInstrumentsEvent, "#0 16/4 sel=00000000 rnd=- ......... clip=.. tap=- chain=0:0-0"},
        {{DM::togglePatternWriteModeEvent}, DM::toggleAutoFollowModeEvent, "#0 16/4 sel=00000000 rnd=- ......... clip=.. tap=- chain=0:0-0"},
    };

    for (const auto& row : table)
    {
        Panel panel;

        for (int uid : row.before)
            panel.plugin.handleEvent (uid);

        const auto before = panel.describe();
        panel.plugin.handleEvent (row.event);
        const auto after = panel.describe();
        const auto context = "after " + panel.plugin.getEventNameMap().getName (row.event) + " from " + before;

        EXPECT_TRUE (matches (after, row.after)) << after << "\n  expected " << row.after << "\n  " << context;
    }
}

TEST (PanelEvents, TapWhileRunningWritesThePlayingOrTheNextStep)
{
    // At 120 beats a minute a step lasts 5512.5 samples; the clock starts with the first block.
    const struct
    {
        int samplesIntoTheStep;
        const char* after;
    } table[] = {
        {512, "#0 16/4 sel=01000000 rnd=- W........ clip=.. tap=- SD=o...O.......O..."},  // nearer its start: the playing step
        {4096, "#0 16/4 sel=01000000 rnd=- W........ clip=.. tap=- SD=.o..O.......O..."}, // nearer the next: that one
    };

    for (const auto& row : table)
    {
        Panel panel;
        panel.plugin.handleEvent (selectTrack (1));
        panel.plugin.handleEvent (DM::startEvent);
        panel.host.run (row.samplesIntoTheStep);
        ASSERT_EQ (panel.seq.getNativeStep(), 0);
        panel.plugin.handleEvent (tapAccept);
        panel.host.run (512 * 12);
        EXPECT_EQ (panel.seq.getNativeStep(), 1);
        EXPECT_TRUE (matches (panel.describe(), row.after)) << panel.describe() << "\n  expected " << row.after;
    }
}
