#pragma once

#include "FakePlayHead.h"
#include "drummachine/Pulsaret.h"
#include "sequencer/PulsaretSeq.h"

#include <memory>
#include <vector>

/** A Pulsaret started as the host adapter starts it, with its settings file in a
    temporary folder, processed block by block under its callback lock. */
class PulsaretTestHost
{
public:
    static constexpr double sampleRate = 44100.0;
    static constexpr int blockSize = 512;

    /** settingsXml, when given, is written as the settings file before start-up. */
    explicit PulsaretTestHost (const juce::String& settingsXml = {})
        : folder (juce::File::createTempFile ("pulsaret-test"))
    {
        folder.createDirectory();
        settingsFile = folder.getChildFile ("Pulsaret.ini");

        if (settingsXml.isNotEmpty())
            settingsFile.replaceWithText (settingsXml);

        plugin = std::make_unique<Pulsaret>();
        plugin->setUserSettingsFile (settingsFile);
        plugin->preInitialise();
        plugin->initialise();
        plugin->setPlayHead (&playHead);
        prepare();
    }

    ~PulsaretTestHost()
    {
        plugin.reset();
        folder.deleteRecursively();
    }

    void prepare()
    {
        const int channels = plugin->getOutputChannelCount();
        plugin->setPlayConfigDetails (0, channels, sampleRate, blockSize);
        plugin->prepareToPlay (sampleRate, blockSize);
        buffer.setSize (channels, blockSize);
        midi.ensureSize (64 * 1024);
    }

    /** One block; the events go in at their offsets, what the instrument sends comes back in midi. */
    void process (int numSamples, const juce::MidiBuffer& events = {})
    {
        midi.clear();
        midi.addEvents (events, 0, -1, 0);
        buffer.setSize (buffer.getNumChannels(), numSamples, false, false, true);
        const juce::ScopedLock sl (plugin->getCallbackLock());
        plugin->processBlock (buffer, midi);
    }

    /** Renders numSamples in blocks of blockSize, keeping every channel and every outgoing event
        (at its position within the whole run). An event is sent at its absolute sample. */
    void run (int numSamples, const std::vector<std::pair<int, juce::MidiMessage>>& events = {})
    {
        rendered.setSize (buffer.getNumChannels(), numSamples);
        sent.clear();

        for (int start = 0; start < numSamples; start += blockSize)
        {
            const int n = juce::jmin (blockSize, numSamples - start);
            juce::MidiBuffer in;

            for (auto& [time, message] : events)
                if (time >= start && time < start + n)
                    in.addEvent (message, time - start);

            process (n, in);

            for (int c = 0; c < buffer.getNumChannels(); ++c)
                rendered.copyFrom (c, start, buffer, c, 0, n);

            for (const auto metadata : midi)
                sent.addEvent (metadata.getMessage(), metadata.samplePosition + start);
        }
    }

    /** The first sample of the channel in the last run whose magnitude exceeds a trace, or -1. */
    int firstSound (int channel, float threshold = 1.0e-6f) const
    {
        for (int i = 0; i < rendered.getNumSamples(); ++i)
            if (std::abs (rendered.getSample (channel, i)) > threshold)
                return i;

        return -1;
    }

    float peak (int channel) const { return rendered.getMagnitude (channel, 0, rendered.getNumSamples()); }

    /** The outputs (1-based) whose pair's first channel sounds after a strike of the key,
        with the sequencer off. */
    std::vector<int> outputsSoundingAfter (int key)
    {
        plugin->setInternalSequencer (false);
        run (4096, {{100, noteOn (key)}});
        std::vector<int> outputs;

        for (int output = 1; output <= Pulsaret::numOutputs; ++output)
            if (peak (2 * (output - 1)) > 0.05f)
                outputs.push_back (output);

        return outputs;
    }

    std::vector<juce::MidiMessage> sentMessages() const
    {
        std::vector<juce::MidiMessage> messages;

        for (const auto metadata : sent)
        {
            auto message = metadata.getMessage();
            message.setTimeStamp (metadata.samplePosition);
            messages.push_back (message);
        }

        return messages;
    }

    PulsaretSeq& seq() { return *plugin->getPulsaretSeq(); }
    Parameter& parameter (int uid) { return *plugin->getParameterManager().getParameter (uid); }

    static juce::MidiMessage noteOn (int key, int velocity = 100) { return juce::MidiMessage::noteOn (1, key, (juce::uint8) velocity); }
    static juce::MidiMessage noteOff (int key) { return juce::MidiMessage::noteOff (1, key); }

    juce::File folder, settingsFile;
    FakePlayHead playHead;
    std::unique_ptr<Pulsaret> plugin;
    juce::AudioBuffer<float> buffer, rendered;
    juce::MidiBuffer midi, sent;
};
