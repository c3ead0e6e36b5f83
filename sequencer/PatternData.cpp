#include "sequencer/PatternData.h"

#include "framework/NameText.h"
#include "framework/XmlAttributes.h"

#include <algorithm>
#include <cmath>

namespace
{
const char* const trackTags[PatternData::numTracks] = {"BD", "SD", "LT", "HT", "CY", "OH", "CH", "AC"};

bool isValidTrack (int track) noexcept
{
    return (unsigned int) track < (unsigned int) PatternData::numTracks;
}
} // namespace

void PatternData::copyFrom (const PatternData& source)
{
    name = source.name;
    length = limitLength (source.length);
    scale = limitScale (source.scale);
    shuffle = limitShuffle (source.shuffle);

    for (int t = 0; t < numTracks; ++t)
        for (int s = 0; s < numSteps; ++s)
            setStep (t, s, source.steps[t][s]);
}

void PatternData::setName (const juce::String& newName)
{
    name = cleanName (newName);
}

int PatternData::setTempo (double bpm)
{
    // A value that is not a number keeps the tempo rather than becoming undefined.
    if (std::isnan (bpm))
        bpm = tempo;

    bpm = juce::jlimit (minTempo, maxTempo, bpm);
    const auto tenths = (int) std::trunc (bpm * 10.0 + 0.5);
    tempo = tenths * 0.1;
    return tenths;
}

void PatternData::setStep (int track, int step, int value)
{
    if (!isValidTrack (track) || (unsigned int) step >= (unsigned int) numSteps)
        return;

    steps[track][step] = (track == accentTrack && value != rest) ? accented : value;
}

int PatternData::getStep (int track, int step) const
{
    if (!isValidTrack (track) || (unsigned int) step >= (unsigned int) numSteps)
        return rest;

    return steps[track][step];
}

juce::String PatternData::getTrackString (int track) const
{
    juce::String text;

    if (!isValidTrack (track))
        return text;

    const int n = limitLength (length);
    text.preallocateBytes ((size_t) n + 1);

    for (int s = 0; s < n; ++s)
        text << (steps[track][s] == hit ? "o" : steps[track][s] == accented ? "O"
                                                                            : ".");

    return text;
}

void PatternData::shiftTrackLeft (int track, int n)
{
    const int len = limitLength (length);

    if (!isValidTrack (track) || n % len <= 0)
        return;

    auto* row = steps[track];
    std::rotate (row, row + n % len, row + len);
}

void PatternData::shiftTrackRight (int track, int n)
{
    const int len = limitLength (length);

    if (!isValidTrack (track) || n % len <= 0)
        return;

    auto* row = steps[track];
    std::rotate (row, row + len - n % len, row + len);
}

void PatternData::writeXml (juce::XmlElement& element) const
{
    element.setAttribute ("name", name);
    element.setAttribute ("length", length);
    element.setAttribute ("scale", scale);
    element.setAttribute ("shuffle", shuffle);
    element.setAttribute ("tempo", tempo);

    for (int t = 0; t < numTracks; ++t)
        element.createNewChildElement (trackTags[t])->addTextElement (getTrackString (t));
}

void PatternData::readXml (const juce::XmlElement& element)
{
    setName (getAttributeIgnoringCase (element, "name"));

    // A value that is no number reads as a missing one.
    length = limitLength (readIntegerAttribute (element, "length", 16).value_or (16));
    scale = limitScale (readIntegerAttribute (element, "scale", 4).value_or (4));
    shuffle = limitShuffle (readNumberAttribute (element, "shuffle", 0.0).value_or (0.0));
    setTempo (readNumberAttribute (element, "tempo", 120.0).value_or (120.0));

    for (auto* child : element.getChildIterator())
    {
        for (int t = 0; t < numTracks; ++t)
        {
            if (!child->getTagName().equalsIgnoreCase (trackTags[t]))
                continue;

            const auto text = child->getAllSubText();
            auto c = text.getCharPointer();

            for (int s = 0; s < numSteps && !c.isEmpty(); ++s)
            {
                const auto ch = c.getAndAdvance();
                setStep (t, s, ch == 'O' ? accented : ch == 'o' ? hit
                                                                : rest);
            }
        }
    }
}

juce::String PatternData::getTrackTag (int track)
{
    return isValidTrack (track) ? juce::String (trackTags[track]) : juce::String();
}

int PatternData::limitLength (int n) noexcept
{
    return juce::jlimit (1, numSteps, n);
}

int PatternData::limitScale (int n) noexcept
{
    return (n == 3 || n == 4 || n == 6 || n == 8) ? n : 4;
}

double PatternData::limitShuffle (double x) noexcept
{
    // Not a number fails both comparisons and would pass through jlimit.
    if (!(x > 0.0))
        return 0.0;

    return juce::jmin (x, maxShuffle);
}

bool PatternData::operator== (const PatternData& other) const noexcept
{
    if (name != other.name || length != other.length || scale != other.scale || shuffle != other.shuffle || tempo != other.tempo)
        return false;

    for (int t = 0; t < numTracks; ++t)
        for (int s = 0; s < numSteps; ++s)
            if (steps[t][s] != other.steps[t][s])
                return false;

    return true;
}
