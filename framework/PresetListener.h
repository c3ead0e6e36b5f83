#pragma once

/** Told after a preset has been applied to the parameters. */
class PresetListener
{
public:
    virtual ~PresetListener() = default;
    virtual void presetApplied() = 0;
};
