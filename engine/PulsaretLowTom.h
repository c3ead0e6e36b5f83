#pragma once

#include "engine/PulsaretTom.h"

/** Low tom: 132 Hz at tune 0.5, starting 43 Hz higher. */
class PulsaretLowTom : public PulsaretTom
{
public:
    PulsaretLowTom() noexcept
        : PulsaretTom (0.00045, 132.0, 43.0, 1.3645)
    {
    }
};
