#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** A host transport that tests move by hand; without a position it answers nothing. */
class FakePlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        if (!hasPosition)
            return {};

        PositionInfo info;
        info.setIsPlaying (playing);

        if (hasBpm)
            info.setBpm (bpm);

        info.setPpqPosition (ppq);
        return info;
    }

    bool hasPosition = true;
    bool hasBpm = true;
    bool playing = false;
    double bpm = 120.0;
    double ppq = 0.0;
};
