#include "sequencer/DrumMachineSeq.h"

#include "framework/EmbeddedResources.h"
#include "framework/XmlAttributes.h"
#include "framework/XmlDocuments.h"

#include <ctime>

namespace
{
bool isValidTrack (int track) noexcept
{
    return (unsigned int) track < (unsigned int) DrumMachineSeq::numTracks;
}

bool isValidStep (int step) noexcept
{
    return (unsigned int) step < (unsigned int) DrumMachineSeq::numSteps;
}

const char* const sourceNames[] = {"factoryPatterns", "clearPatterns", "userDefinedPatterns"};

// Child tags of "DMSeqRes" by set kind: native, host, common.
const char* const setTags[] = {"NativePatterns", "HostPatterns", "Patterns"};

int validKind (int kind) noexcept
{
    return juce::isPositiveAndBelow (kind, 3) ? kind : DrumMachineSeq::commonPatternSet;
}

// Taken when no swap lock was set: nobody else ever holds it.
juce::CriticalSection noLock;
} // namespace

DrumMachineSeq::DrumMachineSeq (SequencerOwner& ownerToUse)
    : owner (ownerToUse)
{
    for (int t = 0; t < numTracks; ++t)
    {
        randomized[t] = false;
        // Matches the default of the density parameters, which the owner sets later.
        thresholds[t] = 0.2f;
        tapValues[t] = 0;

        for (int s = 0; s < numSteps; ++s)
            ranks[t][s] = -1.0f;
    }

    generator.setSeed (1234);
    generator.setSeed ((juce::uint32) std::time (nullptr));
}

DrumMachineSeq::~DrumMachineSeq() = default;

PatternData* DrumMachineSeq::getPattern (int)
{
    return nullptr;
}

const PatternData* DrumMachineSeq::getPattern (int index) const
{
    return const_cast<DrumMachineSeq*> (this)->getPattern (index);
}

//==============================================================================
juce::String DrumMachineSeq::makeFileExtension (const char* suffix, int kind) const
{
    juce::String extension = "." + owner.getPluginPrefix() + suffix;

    if (hasSeparateHostAndNativePatterns())
    {
        if (kind == nativePatternSet)
            extension << "N";
        else if (kind == hostPatternSet)
            extension << "H";
    }

    return extension;
}

juce::String DrumMachineSeq::getPatternFileExtension (int kind) const
{
    return makeFileExtension ("ptr", kind);
}

juce::String DrumMachineSeq::getPatternBankFileExtension (int kind) const
{
    return makeFileExtension ("ptrb", kind);
}

juce::String DrumMachineSeq::getPatternFileFilter (int kind) const
{
    auto filter = "*" + getPatternFileExtension (kind);

    for (int i = 0; i < getNumExtraPatternFileWildcards(); ++i)
        filter << "; " << getExtraPatternFileWildcard (i);

    return filter;
}

juce::String DrumMachineSeq::getPatternBankFileFilter (int kind) const
{
    auto filter = "*" + getPatternBankFileExtension (kind);

    for (int i = 0; i < getNumExtraPatternBankFileWildcards(); ++i)
        filter << "; " << getExtraPatternBankFileWildcard (i);

    return filter;
}

bool DrumMachineSeq::isPatternXml (const juce::XmlElement& element) const
{
    if (!element.getTagName().equalsIgnoreCase ("Pattern"))
        return false;

    // A missing attribute never matches.
    return hasAttributeIgnoringCase (element, "application") && getAttributeIgnoringCase (element, "application").equalsIgnoreCase (owner.getPluginName());
}

bool DrumMachineSeq::readPatternXml (const juce::XmlElement& element, int index)
{
    auto* pattern = getPattern (index);

    if (pattern == nullptr || !isPatternXml (element))
        return false;

    // Read into a fresh record: steps the element does not hold must not survive from
    // the slot's previous contents.
    PatternData fresh;
    fresh.readXml (element);

    const juce::ScopedLock sl (swapLock != nullptr ? *swapLock : noLock);
    *pattern = fresh;
    return true;
}

std::unique_ptr<juce::XmlElement> DrumMachineSeq::createPatternXml (int index) const
{
    auto* pattern = getPattern (index);

    if (pattern == nullptr)
        return nullptr;

    auto xml = std::make_unique<juce::XmlElement> ("Pattern");
    xml->setAttribute ("application", owner.getPluginName());

    // Every document holds the pattern as it plays and shows: the steps that a random
    // preview's density hides are written as rests. A copy is masked, so the stored
    // steps stay for the preview to go on (Next, Prev, the knobs, Undo).
    PatternData heard (*pattern);

    for (int t = 0; t < numTracks; ++t)
        for (int s = 0; s < numSteps; ++s)
            if (isStepHidden (*pattern, t, s))
                heard.steps[t][s] = offStepValue;

    heard.writeXml (*xml);
    return xml;
}

bool DrumMachineSeq::readPatternBankXml (const juce::XmlElement& element, int)
{
    if (!element.getTagName().equalsIgnoreCase ("PatternBank"))
        return false;

    const int numPatterns = getNumPatterns();
    std::vector<PatternData> read;

    for (auto* child : element.getChildIterator())
    {
        if ((int) read.size() >= numPatterns)
            break;

        if (!isPatternXml (*child))
            continue;

        PatternData fresh;
        fresh.readXml (*child);
        read.push_back (fresh);
    }

    // Parsed completely before anything changes.
    const juce::ScopedLock sl (swapLock != nullptr ? *swapLock : noLock);

    for (size_t i = 0; i < read.size(); ++i)
        *getPattern ((int) i) = read[i];

    return !read.empty();
}

std::unique_ptr<juce::XmlElement> DrumMachineSeq::createPatternBankXml (int kind) const
{
    auto bank = std::make_unique<juce::XmlElement> ("PatternBank");

    if (hasSeparateHostAndNativePatterns() && kind != commonPatternSet)
        bank->setAttribute ("type", kind == hostPatternSet ? "hostPattern" : "nativePattern");

    for (int i = 0; i < getNumPatterns(); ++i)
        if (auto pattern = createPatternXml (i))
            bank->addChildElement (pattern.release());

    return bank;
}

bool DrumMachineSeq::savePatternFile (int index, const juce::File& file) const
{
    auto xml = createPatternXml (index);
    return xml != nullptr && writeXmlDocument (*xml, file);
}

bool DrumMachineSeq::savePatternBankFile (const juce::File& file, int kind) const
{
    auto xml = createPatternBankXml (kind);
    return xml != nullptr && writeXmlDocument (*xml, file);
}

bool DrumMachineSeq::loadPatternFile (int index, const juce::File& file)
{
    auto xml = parseXmlDocument (file);
    return xml != nullptr && readPatternXml (*xml, index);
}

bool DrumMachineSeq::loadPatternBankFile (const juce::File& file, int kind)
{
    auto xml = parseXmlDocument (file);
    return xml != nullptr && readPatternBankXml (*xml, kind);
}

bool DrumMachineSeq::loadFactoryPatterns()
{
    auto xml = parseXmlText (loadXmlResource ("default" + getPatternBankFileExtension (commonPatternSet)));
    return xml != nullptr && readPatternBankXml (*xml, commonPatternSet);
}

//==============================================================================
std::unique_ptr<juce::XmlElement> DrumMachineSeq::createPatternsStateXml() const
{
    auto state = std::make_unique<juce::XmlElement> ("PatternsState");

    if (hasSeparateHostAndNativePatterns())
    {
        state->addChildElement (createPatternBankXml (hostPatternSet).release());
        state->addChildElement (createPatternBankXml (nativePatternSet).release());
    }
    else
    {
        state->addChildElement (createPatternBankXml (commonPatternSet).release());
    }

    return state;
}

bool DrumMachineSeq::readPatternsStateXml (const juce::XmlElement& element)
{
    if (!element.getTagName().equalsIgnoreCase ("PatternsState"))
        return false;

    bool any = false;

    for (auto* child : element.getChildIterator())
        if (child->getTagName().equalsIgnoreCase ("PatternBank"))
            any = readPatternBankXml (*child, commonPatternSet) || any;

    return any;
}

std::unique_ptr<juce::XmlElement> DrumMachineSeq::createEditionStateXml() const
{
    auto state = std::make_unique<juce::XmlElement> ("DMSeqEditionState");
    state->createNewChildElement ("EditedPattern")->setAttribute ("value", getEditedPatternIndex());
    return state;
}

bool DrumMachineSeq::readEditionStateXml (const juce::XmlElement& element)
{
    if (!element.getTagName().equalsIgnoreCase ("DMSeqEditionState"))
        return false;

    for (auto* child : element.getChildIterator())
    {
        if (!child->getTagName().equalsIgnoreCase ("EditedPattern"))
            continue;

        if (const auto index = readIntegerAttribute (*child, "value", 0))
            setEditedPatternIndex (*index);
    }

    return true;
}

std::unique_ptr<juce::XmlElement> DrumMachineSeq::createResourcesXml() const
{
    auto xml = std::make_unique<juce::XmlElement> ("DMSeqRes");

    for (int kind : {hostPatternSet, nativePatternSet, commonPatternSet})
    {
        auto* child = xml->createNewChildElement (setTags[kind]);
        child->setAttribute ("default", sourceNames[resources[kind].source]);
        child->setAttribute ("file", resources[kind].file);
    }

    return xml;
}

bool DrumMachineSeq::readResourcesXml (const juce::XmlElement& element)
{
    if (!element.getTagName().equalsIgnoreCase ("DMSeqRes"))
        return false;

    for (auto* child : element.getChildIterator())
    {
        for (int kind = 0; kind < 3; ++kind)
        {
            if (!child->getTagName().equalsIgnoreCase (setTags[kind]))
                continue;

            const auto source = getAttributeIgnoringCase (*child, "default");

            for (int s = 0; s < 3; ++s)
                if (source == sourceNames[s])
                    resources[kind].source = s;

            if (hasAttributeIgnoringCase (*child, "file"))
                resources[kind].file = getAttributeIgnoringCase (*child, "file");
        }
    }

    return true;
}

int DrumMachineSeq::getPatternsSource (int kind) const
{
    return resources[validKind (kind)].source;
}

void DrumMachineSeq::setPatternsSource (int source, int kind)
{
    if (juce::isPositiveAndBelow (source, 3))
        resources[validKind (kind)].source = source;
}

juce::String DrumMachineSeq::getPatternsFile (int kind) const
{
    return resources[validKind (kind)].file;
}

void DrumMachineSeq::setPatternsFile (const juce::String& path)
{
    resources[commonPatternSet] = {userDefinedPatterns, path};
}

void DrumMachineSeq::setHostPatternsFile (const juce::String& path)
{
    resources[hostPatternSet] = {userDefinedPatterns, path};
}

void DrumMachineSeq::setNativePatternsFile (const juce::String& path)
{
    resources[nativePatternSet] = {userDefinedPatterns, path};
}

void DrumMachineSeq::loadInitialPatterns()
{
    for (int i = 0; i < getNumPatterns(); ++i)
        getPattern (i)->name = "Pattern " + juce::String (i + 1);

    const auto& set = resources[commonPatternSet];

    if (set.source == factoryPatterns)
    {
        loadFactoryPatterns();
    }
    else if (set.source == userDefinedPatterns && set.file.isNotEmpty())
    {
        // An unreadable user bank leaves the named empty patterns.
        if (juce::File::isAbsolutePath (set.file))
            loadPatternBankFile (juce::File (set.file), commonPatternSet);
    }
}

//==============================================================================
juce::String DrumMachineSeq::getPatternName (int index) const
{
    auto* pattern = getPattern (index);
    return pattern != nullptr ? pattern->name : juce::String();
}

void DrumMachineSeq::setPatternName (int index, const juce::String& name)
{
    if (auto* pattern = getPattern (index))
        pattern->setName (name);
}

//==============================================================================
void DrumMachineSeq::setTapValue (int track, int value)
{
    if (isValidTrack (track))
        tapValues[track] = value;
}

int DrumMachineSeq::getTapValue (int track) const
{
    return isValidTrack (track) ? tapValues[track].load() : 0;
}

void DrumMachineSeq::clearTapBuffer()
{
    for (auto& v : tapValues)
        v = 0;

    tapPending = false;
}

void DrumMachineSeq::writeTappedValuesAtNextStep (int player)
{
    tapPending = true;
    tapPlayer = player;
}

void DrumMachineSeq::flushTapBuffer (PatternData& pattern, int step, int player)
{
    if (!tapPending || tapPlayer != player)
        return;

    bool written = false;

    for (int t = 0; t < numTracks; ++t)
    {
        const int value = tapValues[t];

        if (value != 0)
        {
            pattern.setStep (t, step, value);
            written = true;
        }
    }

    if (written)
        owner.updateStepDisplay();

    clearTapBuffer();
}

void DrumMachineSeq::playPatternStep (PatternData& pattern, int step, int player, bool accentOnly)
{
    if (!isValidStep (step))
        return;

    flushTapBuffer (pattern, step, player);

    const bool accented = pattern.steps[PatternData::accentTrack][step] != 0 && !isStepHidden (pattern, PatternData::accentTrack, step);

    if (accented)
    {
        const double velocity = owner.getNormalVelocity() + owner.getStrongVelocityIncrement() + owner.getAccentVelocityIncrement() * owner.getAccentLevel();
        owner.triggerInstrument (PatternData::accentTrack, (float) velocity);
    }

    if (accentOnly)
        return;

    for (int t = 0; t < PatternData::accentTrack; ++t)
    {
        const int value = pattern.steps[t][step];

        if (value != 0 && !isStepHidden (pattern, t, step))
            owner.triggerStep (t, value == accentStepValue, accented);
    }
}

//==============================================================================
void DrumMachineSeq::storeUndoCopy (PatternData& pattern)
{
    undoCopy.copyFrom (pattern);
    randomPattern = &pattern;
}

void DrumMachineSeq::restoreTrackFromUndoCopy (PatternData& pattern, int track)
{
    if (!isValidTrack (track))
        return;

    for (int s = 0; s < numSteps; ++s)
        pattern.setStep (track, s, undoCopy.steps[track][s]);
}

void DrumMachineSeq::clearStep (PatternData& pattern, int track, int step)
{
    pattern.setStep (track, step, offStepValue);
}

void DrumMachineSeq::hitStep (PatternData& pattern, int track, int step)
{
    pattern.setStep (track, step, normalStepValue);
}

void DrumMachineSeq::accentStep (PatternData& pattern, int track, int step)
{
    pattern.setStep (track, step, accentStepValue);
}

void DrumMachineSeq::nextRandomSeed (const TrackFlags& flags, bool ranksOnly)
{
    if (currentSeed != 0)
        seedHistory.push_back (currentSeed);

    // Seeds run from 1 to 1000000; 0 means "no result".
    currentSeed = generator.nextBelow (1000000) + 1;
    generator.setSeed (currentSeed);
    randomizeTracks (flags, ranksOnly);
}

void DrumMachineSeq::previousRandomSeed (const TrackFlags& flags, bool ranksOnly)
{
    if (seedHistory.empty())
        return;

    currentSeed = seedHistory.back();
    seedHistory.pop_back();
    generator.setSeed (currentSeed);
    randomizeTracks (flags, ranksOnly);
}

void DrumMachineSeq::randomizeTracks (const TrackFlags& flags, bool ranksOnly)
{
    acceptRandomization();

    auto* pattern = randomPattern.load();

    for (int t = 0; t < numTracks; ++t)
    {
        randomized[t] = flags[(size_t) t];

        if (!flags[(size_t) t])
            continue;

        // A random order of the sixteen steps, built by insertion.
        std::vector<int> order;
        order.reserve (numSteps);

        for (int i = 0; i < numSteps; ++i)
        {
            const auto position = generator.nextBelow ((juce::uint32) order.size() + 1);
            order.insert (order.begin() + (std::ptrdiff_t) position, i);
        }

        for (int j = 0; j < numSteps; ++j)
        {
            ranks[t][j] = (float) order[(size_t) j] * 0.0625f;
            const bool odd = generator.nextBelow (2) == 1;

            if (!ranksOnly && pattern != nullptr)
            {
                if (odd)
                    accentStep (*pattern, t, j);
                else
                    hitStep (*pattern, t, j);
            }
        }
    }

    randomActive = true;
}

void DrumMachineSeq::acceptRandomization()
{
    if (!randomActive)
        return;

    if (auto* pattern = randomPattern.load())
        for (int t = 0; t < numTracks; ++t)
            if (randomized[t])
                for (int j = 0; j < numSteps; ++j)
                    if (!(thresholds[t] > ranks[t][j]))
                        clearStep (*pattern, t, j);

    resetRandomizer();
}

void DrumMachineSeq::undoRandomization()
{
    if (!randomActive)
        return;

    if (auto* pattern = randomPattern.load())
        for (int t = 0; t < numTracks; ++t)
            if (randomized[t])
                restoreTrackFromUndoCopy (*pattern, t);

    resetRandomizer();
}

void DrumMachineSeq::resetRandomizer()
{
    randomActive = false;

    for (int t = 0; t < numTracks; ++t)
    {
        randomized[t] = false;

        for (int j = 0; j < numSteps; ++j)
            ranks[t][j] = -1.0f;
    }
}

bool DrumMachineSeq::isTrackRandomized (int track) const
{
    return isValidTrack (track) && randomized[track];
}

void DrumMachineSeq::setRandomThreshold (int track, float threshold)
{
    if (isValidTrack (track))
        thresholds[track] = threshold;
}

float DrumMachineSeq::getRandomThreshold (int track) const
{
    return isValidTrack (track) ? thresholds[track].load() : 0.0f;
}

float DrumMachineSeq::getRandomRank (int track, int step) const
{
    return isValidTrack (track) && isValidStep (step) ? ranks[track][step].load() : -1.0f;
}

bool DrumMachineSeq::isStepHidden (const PatternData& pattern, int track, int step) const
{
    if (&pattern != randomPattern.load() || !isValidTrack (track) || !isValidStep (step) || !randomized[track])
        return false;

    return thresholds[track] <= ranks[track][step];
}

int DrumMachineSeq::getStepValue (int track, int step) const
{
    auto* pattern = getPattern (getEditedPatternIndex());

    if (pattern == nullptr || !isValidTrack (track) || !isValidStep (step) || isStepHidden (*pattern, track, step))
        return 0;

    return pattern->steps[track][step];
}
