#pragma once

#include "engine/PulsaretTom.h"

/** Hi tom: 199 Hz at tune 0.5, starting 15 Hz higher. */
class PulsaretHiTom : public PulsaretTom
{
public:
    PulsaretHiTom() noexcept
        : PulsaretTom (0.0001, 199.0, 15.0, 0.955)
    {
    }
};
