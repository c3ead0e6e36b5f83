#pragma once

#include "sequencer/MersenneTwister.h"
#include "sequencer/PatternData.h"
#include "sequencer/SequencerOwner.h"

#include <array>
#include <atomic>
#include <deque>
#include <memory>

/** The generic step sequencer of the drum machine: a host player (patterns chosen by
    MIDI keys) and a native player (the chain chosen on the panel), the random track
    generator, the tap buffer, and the pattern files and state documents.

    This class holds no patterns itself (a plain one has none, and every operation on
    them does nothing); a product subclass supplies the pattern set through
    getNumPatterns() and getPattern(), and the players and editing operations.

    Playback runs on the audio thread inside the host's processing lock; editing, files
    and state on the message thread. Values that cross are noted at their members. */
class DrumMachineSeq
{
public:
    static constexpr int numTracks = PatternData::numTracks;
    static constexpr int numSteps = PatternData::numSteps;

    enum StepValue
    {
        offStepValue = 0,
        normalStepValue = 1,
        accentStepValue = 2,
        eraseStepValue = 0
    };

    /** Which pattern set an operation addresses; a product with one set uses common. */
    enum PatternSetKind
    {
        nativePatternSet = 0,
        hostPatternSet = 1,
        commonPatternSet = 2
    };

    /** Where a pattern set comes from at start-up. */
    enum PatternSource
    {
        factoryPatterns = 0,
        clearPatterns = 1,
        userDefinedPatterns = 2
    };

    enum Player
    {
        nativePlayer = 0,
        hostPlayer = 1
    };

    using TrackFlags = std::array<bool, numTracks>;

    explicit DrumMachineSeq (SequencerOwner& owner);
    virtual ~DrumMachineSeq();

    //==============================================================================
    // Pattern set
    virtual int getNumPatterns() const { return 0; }

    /** The pattern at index, or null outside 0..getNumPatterns()-1. */
    virtual PatternData* getPattern (int index);
    const PatternData* getPattern (int index) const;

    virtual bool hasSeparateHostAndNativePatterns() const { return false; }

    //==============================================================================
    // Files
    virtual int getNumExtraPatternFileWildcards() const { return 0; }
    virtual juce::String getExtraPatternFileWildcard (int) const { return {}; }
    virtual juce::String getPatternFileExtension (int kind = commonPatternSet) const;
    virtual juce::String getPatternFileFilter (int kind = commonPatternSet) const;
    virtual int getNumExtraPatternBankFileWildcards() const { return 0; }
    virtual juce::String getExtraPatternBankFileWildcard (int) const { return {}; }
    virtual juce::String getPatternBankFileExtension (int kind = commonPatternSet) const;
    virtual juce::String getPatternBankFileFilter (int kind = commonPatternSet) const;

    /** Tag "Pattern" and this plug-in's application, both ignoring case. */
    virtual bool isPatternXml (const juce::XmlElement& element) const;

    /** Reads the element into pattern index; the pattern becomes exactly what the
        element holds. False, with nothing changed, for a foreign element or index. */
    virtual bool readPatternXml (const juce::XmlElement& element, int index);

    /** A "Pattern" element with the application; null for an index out of range. The
        steps that a random preview hides are written as rests, as they play. */
    virtual std::unique_ptr<juce::XmlElement> createPatternXml (int index) const;

    /** Reads the "Pattern" children in order into indices 0, 1, 2...; other children
        are skipped, patterns beyond the last child keep their contents. False, with
        nothing changed, when the element is no "PatternBank" or holds no pattern. */
    virtual bool readPatternBankXml (const juce::XmlElement& element, int kind = commonPatternSet);
    virtual std::unique_ptr<juce::XmlElement> createPatternBankXml (int kind = commonPatternSet) const;

    /** Saving writes a temporary file and moves it into place; false when it fails. */
    bool savePatternFile (int index, const juce::File& file) const;
    bool savePatternBankFile (const juce::File& file, int kind = commonPatternSet) const;

    /** False, with nothing changed, when the file cannot be read, parsed or accepted. */
    bool loadPatternFile (int index, const juce::File& file);
    bool loadPatternBankFile (const juce::File& file, int kind = commonPatternSet);

    /** The embedded factory bank, "default" with the bank extension. */
    bool loadFactoryPatterns();

    //==============================================================================
    // Plug-in state and start-up resources
    std::unique_ptr<juce::XmlElement> createPatternsStateXml() const;
    bool readPatternsStateXml (const juce::XmlElement& element);

    virtual std::unique_ptr<juce::XmlElement> createEditionStateXml() const;
    virtual bool readEditionStateXml (const juce::XmlElement& element);

    /** The "DMSeqRes" element of the settings file's resources settings. */
    std::unique_ptr<juce::XmlElement> createResourcesXml() const;
    bool readResourcesXml (const juce::XmlElement& element);

    int getPatternsSource (int kind = commonPatternSet) const;
    void setPatternsSource (int source, int kind = commonPatternSet);
    juce::String getPatternsFile (int kind = commonPatternSet) const;

    /** Sets the user bank file of a set and selects the user-defined source. */
    void setPatternsFile (const juce::String& path);
    void setHostPatternsFile (const juce::String& path);
    void setNativePatternsFile (const juce::String& path);

    /** Names every pattern "Pattern n", then loads the start-up source. */
    virtual void loadInitialPatterns();

    //==============================================================================
    // Players (audio thread)
    virtual void startHostPattern (int) {}
    virtual void startNative() {}
    virtual void stopHost() { hostPlaying = false; }
    virtual void stopNative() { nativePlaying = false; }
    virtual void playHostStep (bool) {}
    virtual void playNativeStep (bool) {}
    virtual void advanceHostStep() {}
    virtual bool advanceNativeStep() { return false; }

    bool isHostPlaying() const noexcept { return hostPlaying; }
    bool isNativePlaying() const noexcept { return nativePlaying; }

    virtual int getHostPatternIndex() const { return 0; }
    virtual int getHostStep() const { return 0; }
    virtual int getHostPatternLength() const { return 16; }
    virtual double getHostPatternTempo() const { return 120.0; }
    virtual double getHostPatternShuffle() const { return 0.0; }
    virtual double getHostPatternFlam() const { return 0.0; }
    virtual int getHostPatternScale() const { return 4; }
    virtual juce::String getHostPatternName() const { return {}; }

    virtual int getNativePatternIndex() const { return 0; }
    virtual int getNativeStep() const { return 0; }
    virtual int getNativePatternLength() const { return 16; }
    virtual double getNativePatternTempo() const { return 120.0; }
    virtual double getNativePatternShuffle() const { return 0.0; }
    virtual double getNativePatternFlam() const { return 0.0; }
    virtual int getNativePatternScale() const { return 4; }
    virtual juce::String getNativePatternName() const { return {}; }

    virtual void markNativePattern() {}
    virtual bool nativePatternChanged() const { return false; }
    virtual bool isCurrentPatternButton (int) const { return false; }

    /** Writes into the playing step of a player (0 native, 1 host) by the setStep rule. */
    virtual void writeStep (int, int, int) {}

    static constexpr int getOffStepValue() noexcept { return offStepValue; }
    static constexpr int getNormalStepValue() noexcept { return normalStepValue; }
    static constexpr int getAccentStepValue() noexcept { return accentStepValue; }
    static constexpr int getEraseStepValue() noexcept { return eraseStepValue; }

    //==============================================================================
    // Editing (message thread); a plain sequencer has nothing to edit
    virtual int getEditedPatternIndex() const { return 0; }

    /** Limited to the pattern range. */
    virtual void setEditedPatternIndex (int) {}
    virtual juce::String getPatternName (int index) const;
    virtual void setPatternName (int index, const juce::String& name);

    virtual int selectNextEditedPattern() { return getEditedPatternIndex(); }
    virtual int selectPreviousEditedPattern() { return getEditedPatternIndex(); }
    virtual juce::String getEditedPatternName() const { return {}; }
    virtual void setEditedPatternName (const juce::String&) {}
    virtual int getEditedPatternLength() const { return numSteps; }
    virtual void setEditedPatternLength (int) {}
    virtual double getEditedPatternFlam() const { return 0.0; }
    virtual void setEditedPatternFlam (double) {}
    virtual double getEditedPatternShuffle() const { return 0.0; }
    virtual void setEditedPatternShuffle (double) {}
    virtual double getEditedPatternTempo() const { return 120.0; }
    virtual void setEditedPatternTempo (double) {}
    virtual int getEditedPatternScale() const { return 4; }
    virtual void setEditedPatternScale (int) {}

    /** Steps of the edited pattern. */
    virtual int getStep (int, int) const { return offStepValue; }
    virtual void setStep (int, int, int) {}
    virtual void cycleStep (int, int) {}
    /** The value a step takes when pressed: rest, hit, accent, rest... */
    virtual int nextStepValue (int value) const { return value; }
    virtual void shiftTrackLeft (int, int) {}
    virtual void shiftTrackRight (int, int) {}
    virtual void clearTrack (int) {}
    virtual void clearPattern() {}
    virtual void copyTrack (int) {}
    virtual void pasteTrack (int, int) {}
    virtual void copyPattern() {}
    virtual void pastePattern() {}

    /** True when the edited pattern moved. */
    virtual bool followHostPattern() { return false; }
    virtual bool followNativePattern() { return false; }
    virtual bool editChainStart() { return false; }

    /** Held by the message thread only while loaded patterns replace the ones in
        place, so the audio thread never plays a half-copied pattern. */
    void setSwapLock (const juce::CriticalSection* lock) noexcept { swapLock = lock; }

    //==============================================================================
    // Tap buffer: filled on the message thread, written and struck by the audio thread
    void setTapValue (int track, int value);
    int getTapValue (int track) const;
    void setTapped (bool isTapped) noexcept { tapped = isTapped; }
    bool hasTappedValues() const noexcept { return tapped; }
    void clearTapBuffer();

    /** Audio thread: write the buffered values when the player plays its next step. */
    void writeTappedValuesAtNextStep (int player);
    bool isTapPending() const noexcept { return tapPending; }

    //==============================================================================
    // Random track generator (message thread; the audio thread reads the mask)
    void seedGenerator (juce::uint32 seed) noexcept { generator.setSeed (seed); }

    /** The edited pattern as it is becomes the undo copy and the randomizer's pattern. */
    virtual void storeUndoCopy (PatternData& pattern);
    virtual void restoreTrackFromUndoCopy (PatternData& pattern, int track);
    const PatternData& getUndoCopy() const noexcept { return undoCopy; }

    /** The pattern that the randomizer fills; null for none. */
    void setRandomizerPattern (PatternData* pattern) noexcept { randomPattern = pattern; }
    PatternData* getRandomizerPattern() const noexcept { return randomPattern; }

    /** Step writers of the generator on a given pattern. */
    virtual void clearStep (PatternData& pattern, int track, int step);
    virtual void hitStep (PatternData& pattern, int track, int step);
    virtual void accentStep (PatternData& pattern, int track, int step);

    void nextRandomSeed (const TrackFlags& flags, bool ranksOnly);
    void previousRandomSeed (const TrackFlags& flags, bool ranksOnly);
    void randomizeTracks (const TrackFlags& flags, bool ranksOnly);
    void acceptRandomization();
    void undoRandomization();
    void resetRandomizer();

    /** True while a result exists that was neither accepted nor undone. */
    bool isRandomizerActive() const noexcept { return randomActive; }
    bool isTrackRandomized (int track) const;
    juce::uint32 getCurrentRandomSeed() const noexcept { return currentSeed; }
    size_t getRandomSeedHistorySize() const noexcept { return seedHistory.size(); }

    void setRandomThreshold (int track, float threshold);
    float getRandomThreshold (int track) const;
    float getRandomRank (int track, int step) const;

    /** True when the randomizer hides this step of the pattern. */
    bool isStepHidden (const PatternData& pattern, int track, int step) const;

    /** The edited pattern's step as shown: 0 when hidden or out of range. */
    int getStepValue (int track, int step) const;

protected:
    /** Plays one step of a pattern for a player: taps first, then accent and voices. */
    void playPatternStep (PatternData& pattern, int step, int player, bool accentOnly);

    /** The file and its set's pair of start-up settings. */
    struct SetResources
    {
        int source = factoryPatterns;
        juce::String file;
    };

    SequencerOwner& owner;

    // Written on the audio thread by the players, read by the panel.
    std::atomic<bool> hostPlaying{false};
    std::atomic<bool> nativePlaying{false};

private:
    juce::String makeFileExtension (const char* suffix, int kind) const;

    void flushTapBuffer (PatternData& pattern, int step, int player);

    MersenneTwister generator;
    juce::uint32 currentSeed = 0;
    std::deque<juce::uint32> seedHistory;

    // The flags, thresholds, ranks and pattern are set on the message thread and read
    // by the audio thread to hide thinned steps: relaxed atomics, no lock.
    std::atomic<bool> randomized[numTracks];
    std::atomic<float> thresholds[numTracks];
    std::atomic<float> ranks[numTracks][numSteps];
    std::atomic<PatternData*> randomPattern{nullptr};
    bool randomActive = false;
    PatternData undoCopy;

    // Values and flag set on the message thread; the pending write and its player
    // belong to the audio thread.
    std::atomic<int> tapValues[numTracks];
    std::atomic<bool> tapped{false};
    bool tapPending = false;
    int tapPlayer = nativePlayer;

    SetResources resources[3];

    const juce::CriticalSection* swapLock = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DrumMachineSeq)
};
