#include "VstTestProcessor.h"

#include <cmath>

namespace
{
const char* const paramNames[] = {"Level", "Pitch", "Decay"};

class TestEditor : public juce::AudioProcessorEditor
{
public:
    explicit TestEditor (juce::AudioProcessor& p)
        : juce::AudioProcessorEditor (p)
    {
        setSize (320, 200);
    }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colours::darkgrey); }
};
} // namespace

VstTestProcessor::VstTestProcessor()
{
    params[0] = 0.5f;
    params[1] = 0.5f;
    params[2] = 0.5f;
}

juce::AudioProcessorEditor* VstTestProcessor::createEditor()
{
    return new TestEditor (*this);
}

void VstTestProcessor::prepareToPlay (double sampleRate, int)
{
    rate = sampleRate;
    amplitude = 0.0;
    clickLevel = 0.0;
    wasPlaying = false;
}

void VstTestProcessor::releaseResources()
{
    amplitude = 0.0;
}

void VstTestProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    buffer.clear();

    double bpm = 0.0, ppq = 0.0;
    bool playing = false;

    if (auto* head = getPlayHead())
        if (auto pos = head->getPosition())
        {
            playing = pos->getIsPlaying();
            bpm = pos->getBpm().orFallback (0.0);
            ppq = pos->getPpqPosition().orFallback (0.0);
        }

    if (playing && !wasPlaying)
        lastPpq = -1.0;

    wasPlaying = playing;
    auto it = midi.begin();

    for (int i = 0; i < buffer.getNumSamples(); ++i)
    {
        for (; it != midi.end() && (*it).samplePosition <= i; ++it)
        {
            const auto m = (*it).getMessage();

            if (m.isNoteOn())
            {
                frequency = 200.0 + params[1].load() * 800.0;
                amplitude = params[0].load() * m.getFloatVelocity();
                decayFactor = std::exp (-1.0 / ((0.02 + params[2].load() * 0.5) * rate));
                phase = 0.0;
                voiceMode = mode.load();
            }
            else if (m.isController() && m.getControllerNumber() == 7)
                setParameterFromPanel (0, (float) m.getControllerValue() / 127.0f); // as a learned controller would
            else if (m.isProgramChange())
                mode = m.getProgramChangeNumber() == 0 ? 0 : 1;
        }

        if (playing && bpm > 0.0)
        {
            const double beat = ppq + i * bpm / (60.0 * rate);

            if (lastPpq < 0.0 ? std::abs (beat - std::round (beat)) < 1.0e-9 : std::floor (beat) > std::floor (lastPpq))
                clickLevel = 0.8;

            lastPpq = beat;
        }

        if (amplitude > 1.0e-5)
        {
            const auto s = (float) (amplitude * std::sin (phase)) * (voiceMode == 0 ? 1.0f : -1.0f);
            buffer.setSample (0, i, s);
            buffer.setSample (1, i, s);
            phase += juce::MathConstants<double>::twoPi * frequency / rate;
            amplitude *= decayFactor;
        }

        if (clickLevel > 1.0e-4)
        {
            buffer.setSample (4, i, (float) clickLevel);
            buffer.setSample (5, i, (float) clickLevel);
            clickLevel *= 0.99;
        }
    }
}

float VstTestProcessor::getParameter (int index)
{
    return index >= 0 && index < numParams ? params[index].load() : 0.0f;
}

void VstTestProcessor::setParameter (int index, float value)
{
    if (index >= 0 && index < numParams)
        params[index] = value;
}

void VstTestProcessor::setParameterFromPanel (int index, float value)
{
    setParameter (index, value);
    sendParamChangeMessageToListeners (index, value);
}

const juce::String VstTestProcessor::getParameterName (int index)
{
    return index >= 0 && index < numParams ? paramNames[index] : "";
}

const juce::String VstTestProcessor::getParameterText (int index)
{
    return index >= 0 && index < numParams ? juce::String (params[index].load(), 2) : juce::String();
}

juce::String VstTestProcessor::getMidiKeyName (int key) const
{
    return key == 36 ? "Bass Drum" : "---";
}

std::unique_ptr<juce::XmlElement> VstTestProcessor::createStateXml (bool withMode) const
{
    auto xml = std::make_unique<juce::XmlElement> ("TestState");

    for (int i = 0; i < numParams; ++i)
        xml->setAttribute (paramNames[i], params[i].load());

    if (withMode)
        xml->setAttribute ("mode", mode.load());

    return xml;
}

bool VstTestProcessor::applyStateXml (const juce::XmlElement& xml, bool withMode)
{
    // Checked whole before anything changes.
    if (!xml.hasTagName ("TestState"))
        return false;

    float values[numParams];

    for (int i = 0; i < numParams; ++i)
    {
        if (!xml.hasAttribute (paramNames[i]))
            return false;

        values[i] = (float) xml.getDoubleAttribute (paramNames[i]);

        if (!(values[i] >= 0.0f && values[i] <= 1.0f))
            return false;
    }

    for (int i = 0; i < numParams; ++i)
        params[i] = values[i];

    if (withMode)
        mode = xml.getIntAttribute ("mode") == 0 ? 0 : 1;

    return true;
}

void VstTestProcessor::getStateInformation (juce::MemoryBlock& block)
{
    copyXmlToBinary (*createStateXml (true), block);
}

void VstTestProcessor::setStateInformation (const void* data, int size)
{
    if (auto xml = getXmlFromBinary (data, size))
        applyStateXml (*xml, true);
}

void VstTestProcessor::getCurrentProgramStateInformation (juce::MemoryBlock& block)
{
    copyXmlToBinary (*createStateXml (false), block);
}

void VstTestProcessor::setCurrentProgramStateInformation (const void* data, int size)
{
    if (auto xml = getXmlFromBinary (data, size))
        applyStateXml (*xml, false);
}
