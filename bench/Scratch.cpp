#include "SignalMeasure.h"
#include "engine/PulsaretBassDrum.h"
#include <cstdio>
int main()
{
    PulsaretBassDrum v; v.setLevel (0.5); v.setTune (0.0); v.setAttack (1.0); v.setDecay (0.5); v.setSampleRate (44100);
    SignalMeasure::render (44100, [&] { return v.render(); });
    v.trigger (1.0);
    auto x = SignalMeasure::render (44100, [&] { return v.render(); });
    for (int i = 0; i < 20000; i += 250) printf ("%d %.5f\n", i, x[i]);
    printf ("f %f\n", SignalMeasure::frequency (x, 0, 20000, 44100, 15, 400));
}
