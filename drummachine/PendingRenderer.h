#pragma once

/** What a block's walk calls before anything changes what sounds (a MIDI event, a
    step, a tap), so that the change is heard from its own sample: the samples taken
    so far are rendered first. Audio thread. */
class PendingRenderer
{
public:
    virtual ~PendingRenderer() = default;

    virtual void renderPending() noexcept = 0;
};
