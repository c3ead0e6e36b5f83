#include "engine/OnePoleHighPass.h"

#include <cmath>

void OnePoleHighPass::setCutoff (double frequency, double rate) noexcept
{
    pole = std::exp (-2.0 * 3.141592653589793 * frequency / rate);
    gain = (pole + 1.0) * 0.5;
}
