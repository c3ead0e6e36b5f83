#pragma once

/** Receives a preset change instead of it being applied at once, when the
    changing mode is silent. The framework installs none. */
class PresetChangeHandler
{
public:
    virtual ~PresetChangeHandler() = default;
    virtual void handlePresetChange() = 0;
};
