#include "engine/PulsaretCore.h"
#include <juce_audio_basics/juce_audio_basics.h>
#include <cstdio>
int main (int argc, char**)
{
    juce::ScopedNoDenormals nd;
    PulsaretCore core;
    for (int i = 0; i < 25; ++i) core.setParameter (i, 0.5f);
    core.setSampleRate (44100.0f);
    double out[7]; double s = 0;
    for (int n = 0; n < 44100 * 100; ++n) { if (argc > 1 && n % 5512 == 0) for (int i = 0; i < 7; ++i) core.triggerInstrument (i, 1.0f); core.renderSample (out); s += out[0]; }
    printf ("%g\n", s);
}
