#include "sequencer/PulsaretSeq.h"

#include <cmath>

PulsaretSeq::PulsaretSeq (SequencerOwner& ownerToUse)
    : DrumMachineSeq (ownerToUse)
{
}

PatternData* PulsaretSeq::getPattern (int index)
{
    return juce::isPositiveAndBelow (index, numPatterns) ? &patterns[index] : nullptr;
}

//==============================================================================
void PulsaretSeq::startHostPattern (int index)
{
    hostPlaying = true;

    // A key beyond the patterns only switches the player on.
    if (juce::isPositiveAndBelow (index, numPatterns))
    {
        hostStep = 0;
        hostPatternIndex = index;
    }
}

void PulsaretSeq::startNative()
{
    nativePlaying = true;
    nativeStep = 0;
    nativePatternIndex = getChainFirstIndex();
}

void PulsaretSeq::playHostStep (bool accentOnly)
{
    if (auto* pattern = getPattern (hostPatternIndex))
        playPatternStep (*pattern, hostStep, hostPlayer, accentOnly);
}

void PulsaretSeq::playNativeStep (bool accentOnly)
{
    if (auto* pattern = getPattern (nativePatternIndex))
        playPatternStep (*pattern, nativeStep, nativePlayer, accentOnly);
}

void PulsaretSeq::advanceHostStep()
{
    auto* pattern = getPattern (hostPatternIndex);

    if (pattern == nullptr)
        return;

    // At or beyond the length, so a pattern shortened while playing wraps at once.
    const int next = hostStep + 1;
    hostStep = next >= PatternData::limitLength (pattern->length) ? 0 : next;
}

bool PulsaretSeq::advanceNativeStep()
{
    const int current = nativePatternIndex;
    const int next = nativeStep + 1;
    auto* pattern = getPattern (current);

    if (pattern != nullptr && next < PatternData::limitLength (pattern->length))
    {
        nativeStep = next;
        return false;
    }

    nativeStep = 0;
    const int first = getChainFirstIndex();
    const int last = getChainLastIndex();
    nativePatternIndex = (current + 1 >= first && current + 1 <= last) ? current + 1 : first;
    return true;
}

void PulsaretSeq::writeStep (int track, int value, int player)
{
    if (player == hostPlayer)
    {
        if (auto* pattern = getPattern (hostPatternIndex))
            pattern->setStep (track, hostStep, value);
    }
    else if (player == nativePlayer)
    {
        if (auto* pattern = getPattern (nativePatternIndex))
            pattern->setStep (track, nativeStep, value);
    }
}

int PulsaretSeq::getHostPatternLength() const
{
    auto* p = getPattern (hostPatternIndex);
    return p != nullptr ? PatternData::limitLength (p->length) : 16;
}

double PulsaretSeq::getHostPatternTempo() const
{
    auto* p = getPattern (hostPatternIndex);
    return p != nullptr ? p->tempo : 120.0;
}

double PulsaretSeq::getHostPatternShuffle() const
{
    auto* p = getPattern (hostPatternIndex);
    return p != nullptr ? p->shuffle : 0.0;
}

int PulsaretSeq::getHostPatternScale() const
{
    auto* p = getPattern (hostPatternIndex);
    return p != nullptr ? p->scale : 4;
}

juce::String PulsaretSeq::getHostPatternName() const
{
    return getPatternName (hostPatternIndex);
}

int PulsaretSeq::getNativePatternLength() const
{
    auto* p = getPattern (nativePatternIndex);
    return p != nullptr ? PatternData::limitLength (p->length) : 16;
}

double PulsaretSeq::getNativePatternTempo() const
{
    auto* p = getPattern (nativePatternIndex);
    return p != nullptr ? p->tempo : 120.0;
}

double PulsaretSeq::getNativePatternShuffle() const
{
    auto* p = getPattern (nativePatternIndex);
    return p != nullptr ? p->shuffle : 0.0;
}

int PulsaretSeq::getNativePatternScale() const
{
    auto* p = getPattern (nativePatternIndex);
    return p != nullptr ? p->scale : 4;
}

juce::String PulsaretSeq::getNativePatternName() const
{
    return getPatternName (nativePatternIndex);
}

bool PulsaretSeq::isCurrentPatternButton (int slot) const
{
    if (!nativePlaying)
        return slot == chainFirst;

    const int current = nativePatternIndex;
    const int first = getChainFirstIndex();
    const int last = getChainLastIndex();

    if (current >= first && current <= last)
        return slot == current % patternsPerBank;

    if (current + 1 >= first && current + 1 <= last)
        return slot == (current + 1) % patternsPerBank;

    return slot == first % patternsPerBank;
}

//==============================================================================
void PulsaretSeq::setChain (int first, int last)
{
    first = juce::jlimit (0, patternsPerBank - 1, first);
    last = juce::jlimit (0, patternsPerBank - 1, last);
    chainFirst = juce::jmin (first, last);
    chainLast = juce::jmax (first, last);
}

void PulsaretSeq::setChainBank (int bank)
{
    chainBank = juce::jlimit (0, numBanks - 1, bank);
}

void PulsaretSeq::setNativePatternIndex (int index)
{
    nativePatternIndex = limitIndex (index);
}

//==============================================================================
void PulsaretSeq::setEditedPatternIndex (int index)
{
    editedPatternIndex = limitIndex (index);
}

int PulsaretSeq::selectNextEditedPattern()
{
    editedPatternIndex = limitIndex (editedPatternIndex + 1);
    return editedPatternIndex;
}

int PulsaretSeq::selectPreviousEditedPattern()
{
    editedPatternIndex = limitIndex (editedPatternIndex - 1);
    return editedPatternIndex;
}

juce::String PulsaretSeq::getEditedPatternName() const
{
    return patterns[editedPatternIndex].name;
}

void PulsaretSeq::setEditedPatternName (const juce::String& name)
{
    getEditedPattern().setName (name);
}

int PulsaretSeq::getEditedPatternLength() const
{
    return patterns[editedPatternIndex].length;
}

void PulsaretSeq::setEditedPatternLength (int length)
{
    getEditedPattern().length = PatternData::limitLength (length);
}

double PulsaretSeq::getEditedPatternShuffle() const
{
    return patterns[editedPatternIndex].shuffle;
}

void PulsaretSeq::setEditedPatternShuffle (double shuffle)
{
    getEditedPattern().shuffle = PatternData::limitShuffle (shuffle);
}

double PulsaretSeq::getEditedPatternTempo() const
{
    return patterns[editedPatternIndex].tempo;
}

void PulsaretSeq::setEditedPatternTempo (double bpm)
{
    getEditedPattern().setTempo (bpm);
}

int PulsaretSeq::getEditedPatternScale() const
{
    return patterns[editedPatternIndex].scale;
}

void PulsaretSeq::setEditedPatternScale (int scale)
{
    getEditedPattern().scale = PatternData::limitScale (scale);
}

int PulsaretSeq::getStep (int track, int step) const
{
    return patterns[editedPatternIndex].getStep (track, step);
}

void PulsaretSeq::setStep (int track, int step, int value)
{
    getEditedPattern().setStep (track, step, value);
}

void PulsaretSeq::cycleStep (int track, int step)
{
    setStep (track, step, getNextStepValue (getStep (track, step)));
}

int PulsaretSeq::getNextStepValue (int value) noexcept
{
    return value == offStepValue ? normalStepValue : value == normalStepValue ? accentStepValue
                                                                              : offStepValue;
}

void PulsaretSeq::shiftTrackLeft (int track, int n)
{
    getEditedPattern().shiftTrackLeft (track, n);
}

void PulsaretSeq::shiftTrackRight (int track, int n)
{
    getEditedPattern().shiftTrackRight (track, n);
}

void PulsaretSeq::clearTrack (int track)
{
    auto& pattern = getEditedPattern();

    if (!juce::isPositiveAndBelow (track, numTracks))
    {
        clearPattern();
        return;
    }

    for (int s = 0; s < numSteps; ++s)
        pattern.setStep (track, s, offStepValue);
}

void PulsaretSeq::clearPattern()
{
    auto& pattern = getEditedPattern();

    for (int t = 0; t < numTracks; ++t)
        for (int s = 0; s < numSteps; ++s)
            pattern.setStep (t, s, offStepValue);
}

void PulsaretSeq::copyTrack (int track)
{
    if (!juce::isPositiveAndBelow (track, numTracks))
        return;

    for (int s = 0; s < numSteps; ++s)
        clipboard.setStep (track, s, getStep (track, s));
}

void PulsaretSeq::pasteTrack (int fromTrack, int toTrack)
{
    for (int s = 0; s < numSteps; ++s)
        setStep (toTrack, s, clipboard.getStep (fromTrack, s));
}

void PulsaretSeq::copyPattern()
{
    clipboard.copyFrom (getEditedPattern());
}

void PulsaretSeq::pastePattern()
{
    getEditedPattern().copyFrom (clipboard);
}

bool PulsaretSeq::followHostPattern()
{
    if (editedPatternIndex == hostPatternIndex)
        return false;

    editedPatternIndex = limitIndex (hostPatternIndex);
    return true;
}

bool PulsaretSeq::followNativePattern()
{
    if (editedPatternIndex == nativePatternIndex)
        return false;

    editedPatternIndex = limitIndex (nativePatternIndex);
    return true;
}

bool PulsaretSeq::editChainStart()
{
    const int start = getChainFirstIndex();

    if (editedPatternIndex == start)
        return false;

    editedPatternIndex = limitIndex (start);
    return true;
}
