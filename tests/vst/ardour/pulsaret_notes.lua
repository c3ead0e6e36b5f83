ardour {
    ["type"] = "dsp",
    name = "Pulsaret Notes",
    category = "Utility",
    license = "MIT",
    author = "Pulsaret",
    description = [[Plays key 36 at 0.5, 1.0, 1.5 and 2.0 seconds while the transport rolls]]
}

function dsp_ioconfig ()
    return { { midi_in = 1, midi_out = 1, audio_in = 0, audio_out = 0 }, }
end

local rate = 48000

function dsp_init (r)
    rate = r
end

function dsp_run (_, _, n_samples)
    if not Session:transport_rolling () then
        return
    end

    local start = Session:transport_sample ()
    local n = 1

    local function at (seconds, data)
        local s = math.floor (seconds * rate + 0.5)
        if s >= start and s < start + n_samples then
            midiout[n] = { time = s - start + 1, data = data }
            n = n + 1
        end
    end

    for _, t in ipairs ({ 0.5, 1.0, 1.5, 2.0 }) do
        at (t, { 0x90, 36, 127 })
        at (t + 0.1, { 0x80, 36, 0 })
    end
end
