#pragma once

#include "sequencer/DrumMachineSeq.h"

/** The product's sequencer: one common set of 96 patterns in 8 banks of 12, a chain of
    patterns within one bank for the native player, and the pattern editing operations
    with their clipboard. */
class PulsaretSeq : public DrumMachineSeq
{
public:
    static constexpr int numBanks = 8;
    static constexpr int patternsPerBank = 12;
    static constexpr int numPatterns = numBanks * patternsPerBank;

    explicit PulsaretSeq (SequencerOwner& owner);

    int getNumPatterns() const override { return numPatterns; }
    PatternData* getPattern (int index) override;
    using DrumMachineSeq::getPattern;

    //==============================================================================
    // Players (audio thread)
    void startHostPattern (int index) override;
    void startNative() override;
    void playHostStep (bool accentOnly) override;
    void playNativeStep (bool accentOnly) override;
    void advanceHostStep() override;
    bool advanceNativeStep() override;
    void writeStep (int track, int value, int player) override;

    int getHostPatternIndex() const override { return hostPatternIndex; }
    int getHostStep() const override { return hostStep; }
    int getHostPatternLength() const override;
    double getHostPatternTempo() const override;
    double getHostPatternShuffle() const override;
    double getHostPatternFlam() const override { return 0.0; }
    int getHostPatternScale() const override;
    juce::String getHostPatternName() const override;

    int getNativePatternIndex() const override { return nativePatternIndex; }
    int getNativeStep() const override { return nativeStep; }
    int getNativePatternLength() const override;
    double getNativePatternTempo() const override;
    double getNativePatternShuffle() const override;
    double getNativePatternFlam() const override { return 0.0; }
    int getNativePatternScale() const override;
    juce::String getNativePatternName() const override;

    void markNativePattern() override { rememberedNativePatternIndex = nativePatternIndex.load(); }
    bool nativePatternChanged() const override { return rememberedNativePatternIndex != nativePatternIndex; }

    /** Whether pattern button slot (0-11) shows the playing or next chain pattern. */
    bool isCurrentPatternButton (int slot) const override;

    //==============================================================================
    // Chain (message thread): slots first..last of one bank, each limited to its range
    void setChain (int first, int last);
    void setChainBank (int bank);
    int getChainFirst() const noexcept { return chainFirst; }
    int getChainLast() const noexcept { return chainLast; }
    int getChainBank() const noexcept { return chainBank; }

    /** Moves the native player to a pattern (limited to 0..95) without starting it. */
    void setNativePatternIndex (int index);

    //==============================================================================
    // Edited pattern
    PatternData& getEditedPattern() noexcept { return patterns[editedPatternIndex]; }
    int getEditedPatternIndex() const override { return editedPatternIndex; }
    void setEditedPatternIndex (int index) override;
    int selectNextEditedPattern() override;
    int selectPreviousEditedPattern() override;

    juce::String getEditedPatternName() const override;
    void setEditedPatternName (const juce::String& name) override;
    int getEditedPatternLength() const override;
    void setEditedPatternLength (int length) override;
    double getEditedPatternFlam() const override { return 0.5; }
    void setEditedPatternFlam (double) override {}
    double getEditedPatternShuffle() const override;
    void setEditedPatternShuffle (double shuffle) override;
    double getEditedPatternTempo() const override;
    void setEditedPatternTempo (double bpm) override;
    int getEditedPatternScale() const override;
    void setEditedPatternScale (int scale) override;

    int getStep (int track, int step) const override;
    void setStep (int track, int step, int value) override;
    void cycleStep (int track, int step) override;
    static int getNextStepValue (int value) noexcept;
    int nextStepValue (int value) const override { return getNextStepValue (value); }
    void shiftTrackLeft (int track, int n) override;
    void shiftTrackRight (int track, int n) override;

    /** A track outside 0..7 clears all eight. */
    void clearTrack (int track) override;
    void clearPattern() override;

    void copyTrack (int track) override;
    void pasteTrack (int fromTrack, int toTrack) override;
    void copyPattern() override;
    void pastePattern() override;
    const PatternData& getClipboard() const noexcept { return clipboard; }

    bool isEditingHostPattern() const { return editedPatternIndex == hostPatternIndex; }
    bool isEditingNativePattern() const { return editedPatternIndex == nativePatternIndex; }
    bool followHostPattern() override;
    bool followNativePattern() override;
    bool editChainStart() override;

    /** Two operations kept free for later use. */
    juce::String getReservedText() const { return {}; }
    void reservedOperation() {}

private:
    static int limitIndex (int index) noexcept { return juce::jlimit (0, numPatterns - 1, index); }
    int getChainFirstIndex() const noexcept { return chainBank * patternsPerBank + chainFirst; }
    int getChainLastIndex() const noexcept { return chainBank * patternsPerBank + chainLast; }

    PatternData patterns[numPatterns];
    PatternData clipboard;

    // Set by editing on the message thread and moved by the follow operations, which
    // block processing calls on the audio thread.
    std::atomic<int> editedPatternIndex{0};

    // Moved by the players on the audio thread, read by the panel.
    std::atomic<int> hostPatternIndex{0};
    std::atomic<int> hostStep{0};
    std::atomic<int> nativePatternIndex{0};
    std::atomic<int> nativeStep{0};
    int rememberedNativePatternIndex = 0;

    // Set on the message thread, read by the native player at its next wrap.
    std::atomic<int> chainFirst{0};
    std::atomic<int> chainLast{0};
    std::atomic<int> chainBank{0};
};
