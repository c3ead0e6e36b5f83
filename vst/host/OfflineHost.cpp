#include "vst/host/OfflineHost.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <dlfcn.h>
#include <thread>

namespace
{
// The effect does not exist yet while VSTPluginMain runs: its calls to the host reach the loading host.
OfflineHost* loadingHost = nullptr;

// Set while this thread is inside the plug-in's audio call.
thread_local bool insideAudioCall = false;

struct AudioCallScope
{
    explicit AudioCallScope (void (*observer) (bool))
        : notify (observer)
    {
        insideAudioCall = true;

        if (notify != nullptr)
            notify (true);
    }

    ~AudioCallScope()
    {
        if (notify != nullptr)
            notify (false);

        insideAudioCall = false;
    }

    void (*notify) (bool);
};
} // namespace

bool OfflineHost::Transport::isPlayingAt (int64_t sample) const
{
    for (const auto& range : playing)
        if (sample >= range.first && sample < range.second)
            return true;

    return false;
}

OfflineHost::OfflineHost() = default;

OfflineHost::~OfflineHost()
{
    unload();
}

bool OfflineHost::load (const std::string& libraryPath)
{
    unload();
    library = dlopen (libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);

    if (library == nullptr)
    {
        const char* message = dlerror();
        error = message != nullptr ? message : "dlopen failed";
        return false;
    }

    auto entry = reinterpret_cast<vst::EntryProc> (dlsym (library, "VSTPluginMain"));

    if (entry == nullptr)
    {
        error = "no VSTPluginMain";
        unload();
        return false;
    }

    loadingHost = this;
    effect = entry (callback);
    loadingHost = nullptr;

    if (effect == nullptr || effect->magic != vst::effectMagic)
    {
        error = "VSTPluginMain gave no effect";
        effect = nullptr;
        unload();
        return false;
    }

    effect->user = this;
    dispatch (vst::EffectOpcode::open);
    return true;
}

void OfflineHost::unload()
{
    if (effect != nullptr)
    {
        dispatch (vst::EffectOpcode::close);
        effect = nullptr;
    }

    if (library != nullptr)
    {
        dlclose (library);
        library = nullptr;
    }
}

intptr_t OfflineHost::dispatch (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return effect != nullptr ? effect->dispatcher (effect, opcode, index, value, ptr, opt) : 0;
}

std::string OfflineHost::getString (int32_t opcode, int32_t index, size_t bufferSize)
{
    std::vector<char> buffer (bufferSize + 1, 0);
    dispatch (opcode, index, 0, buffer.data());
    return std::string (buffer.data());
}

int32_t OfflineHost::canDo (const char* text)
{
    return (int32_t) dispatch (vst::EffectOpcode::canDo, 0, 0, const_cast<char*> (text));
}

std::vector<uint8_t> OfflineHost::getChunk (bool preset)
{
    void* data = nullptr;
    const auto size = dispatch (vst::EffectOpcode::getChunk, preset ? 1 : 0, 0, &data);

    if (data == nullptr || size <= 0)
        return {};

    const auto* bytes = static_cast<const uint8_t*> (data);
    return std::vector<uint8_t> (bytes, bytes + size);
}

intptr_t OfflineHost::setChunk (const std::vector<uint8_t>& data, bool preset)
{
    return dispatch (vst::EffectOpcode::setChunk, preset ? 1 : 0, (intptr_t) data.size(), const_cast<uint8_t*> (data.data()));
}

void OfflineHost::setParameter (int32_t index, float value)
{
    if (effect != nullptr)
        effect->setParameter (effect, index, value);
}

float OfflineHost::getParameter (int32_t index)
{
    return effect != nullptr ? effect->getParameter (effect, index) : 0.0f;
}

void OfflineHost::start (double rate, int32_t blockSize)
{
    sampleRate = rate;
    dispatch (vst::EffectOpcode::setSampleRate, 0, 0, nullptr, (float) rate);
    dispatch (vst::EffectOpcode::setBlockSize, 0, blockSize);
    dispatch (vst::EffectOpcode::mainsChanged, 0, 1);
    dispatch (vst::EffectOpcode::startProcess);
}

void OfflineHost::stop()
{
    dispatch (vst::EffectOpcode::stopProcess);
    dispatch (vst::EffectOpcode::mainsChanged, 0, 0);
}

std::vector<std::vector<float>> OfflineHost::render (int64_t numFrames, int32_t blockSize, const std::vector<MidiEvent>& events,
                                                     const Transport& transport, int64_t from)
{
    std::vector<std::vector<float>> out ((size_t) (effect != nullptr ? effect->numOutputs : 0),
                                         std::vector<float> ((size_t) numFrames, 0.0f));
    currentTransport = &transport;

    for (int64_t done = 0; done < numFrames;)
    {
        const auto frames = (int32_t) std::min<int64_t> (blockSize, numFrames - done);
        blockStart = from + done;
        std::vector<MidiEvent> blockEvents;

        for (const auto& e : events)
            if (e.sample >= blockStart && e.sample < blockStart + frames)
                blockEvents.push_back ({e.sample - blockStart, e.bytes});

        processBlock (frames, blockEvents, out, done);
        done += frames;
    }

    currentTransport = nullptr;
    return out;
}

void OfflineHost::processBlock (int32_t frames, const std::vector<MidiEvent>& blockEvents, std::vector<std::vector<float>>& out,
                                int64_t outOffset)
{
    if (effect == nullptr)
        return;

    if (!blockEvents.empty())
    {
        std::vector<vst::VstMidiEvent> midi (blockEvents.size());
        std::vector<uint8_t> listMemory (sizeof (vst::VstEvents) + blockEvents.size() * sizeof (vst::VstEvent*));
        auto* list = reinterpret_cast<vst::VstEvents*> (listMemory.data());
        list->numEvents = (int32_t) blockEvents.size();

        for (size_t i = 0; i < blockEvents.size(); ++i)
        {
            midi[i].type = vst::EventType::midi;
            midi[i].byteSize = (int32_t) sizeof (vst::VstMidiEvent);
            midi[i].deltaFrames = (int32_t) blockEvents[i].sample;
            std::memcpy (midi[i].midiData, blockEvents[i].bytes.data(), 3);
            list->events[i] = reinterpret_cast<vst::VstEvent*> (&midi[i]);
        }

        const AudioCallScope scope (pluginAudioCall);
        dispatch (vst::EffectOpcode::processEvents, 0, 0, list);
    }

    const auto numOutputs = (size_t) effect->numOutputs;
    std::vector<float> scratch ((size_t) frames * std::max<size_t> (1, numOutputs), 0.0f);
    std::vector<float*> outputs (std::max<size_t> (1, numOutputs));

    for (size_t ch = 0; ch < numOutputs; ++ch)
    {
        // Garbage where the plug-in must write, so a channel it forgets shows.
        std::fill (scratch.begin() + (ptrdiff_t) (ch * (size_t) frames), scratch.begin() + (ptrdiff_t) ((ch + 1) * (size_t) frames), 1.0e6f);
        outputs[ch] = scratch.data() + ch * (size_t) frames;
    }

    float* noInputs[1] = {nullptr};

    {
        const AudioCallScope scope (pluginAudioCall);
        effect->processReplacing (effect, noInputs, outputs.data(), frames);
    }

    for (size_t ch = 0; ch < numOutputs && ch < out.size(); ++ch)
        for (int32_t i = 0; i < frames && outOffset + i < (int64_t) out[ch].size(); ++i)
            out[ch][(size_t) (outOffset + i)] = outputs[ch][i];

    blockStart += frames;
}

std::vector<OfflineHost::Automation> OfflineHost::getAutomation (size_t minCount, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);

    for (;;)
    {
        {
            const std::lock_guard<std::mutex> lock (gestureLock);

            if (automation.size() >= minCount || std::chrono::steady_clock::now() >= deadline)
                return automation;
        }

        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    }
}

std::vector<OfflineHost::Gesture> OfflineHost::getGestures() const
{
    const std::lock_guard<std::mutex> lock (gestureLock);
    return gestures;
}

void OfflineHost::clearGestures()
{
    const std::lock_guard<std::mutex> lock (gestureLock);
    gestures.clear();
}

intptr_t OfflineHost::callback (vst::AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    OfflineHost* host = e != nullptr && e->user != nullptr ? static_cast<OfflineHost*> (e->user) : loadingHost;

    if (host == nullptr)
        return opcode == vst::HostOpcode::version ? 2400 : 0;

    if (!insideAudioCall || host->pluginAudioCall == nullptr)
        return host->handle (opcode, index, value, ptr, opt);

    // What the host does for the plug-in is not the plug-in's doing.
    host->pluginAudioCall (false);
    const auto result = host->handle (opcode, index, value, ptr, opt);
    host->pluginAudioCall (true);
    return result;
}

intptr_t OfflineHost::handle (int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    namespace op = vst::HostOpcode;

    switch (opcode)
    {
        case op::version:
            return hostVersion;
        case op::automate:
        {
            // The panel's gestures come from the plug-in's message thread, the host's from the test's.
            const std::lock_guard<std::mutex> lock (gestureLock);
            automation.push_back ({index, opt});
            gestures.push_back ({Gesture::automate, index, opt});
            return 1;
        }
        case op::beginEdit:
        case op::endEdit:
        {
            const std::lock_guard<std::mutex> lock (gestureLock);
            gestures.push_back ({opcode == op::beginEdit ? Gesture::beginEdit : Gesture::endEdit, index, 0.0f});
            return 1;
        }
        case op::wantMidi:
            ++wantMidiCalls;
            return 1;
        case op::getCurrentProcessLevel:
            return processLevel;
        case op::getSampleRate:
            return (intptr_t) sampleRate;
        case op::updateDisplay:
            ++updateDisplayCalls;
            return 1;
        case op::canDo:
        {
            const std::string text = ptr != nullptr ? static_cast<const char*> (ptr) : "";
            const std::lock_guard<std::mutex> lock (callsLock);
            hostCalls.push_back ("canDo " + text);
            return text == "sendVstTimeInfo" ? canDoTimeInfo : 0;
        }

        case op::getTime:
        {
            timeRequests.push_back ((int32_t) value);

            {
                const std::lock_guard<std::mutex> lock (callsLock);
                hostCalls.push_back ("getTime");
            }

            if (!giveTimeInfo)
                return 0;

            using namespace vst::TimeInfoFlags;
            const double tempo = currentTransport != nullptr ? currentTransport->tempo : 120.0;
            const bool playing = currentTransport != nullptr && currentTransport->isPlayingAt (blockStart);
            std::memset (&timeInfo, 0, sizeof (timeInfo));
            timeInfo.samplePos = (double) blockStart;
            timeInfo.sampleRate = sampleRate;
            timeInfo.ppqPos = (double) blockStart / sampleRate * tempo / 60.0;
            timeInfo.tempo = tempo;
            timeInfo.barStartPos = std::floor (timeInfo.ppqPos / 4.0) * 4.0;
            timeInfo.timeSigNumerator = 4;
            timeInfo.timeSigDenominator = 4;
            // Answer only what was asked, as some hosts do.
            timeInfo.flags = (playing ? transportPlaying : 0) | (playing != wasPlaying ? transportChanged : 0) | ((int32_t) value & (ppqPosValid | tempoValid | barsValid | timeSigValid));
            wasPlaying = playing;
            return reinterpret_cast<intptr_t> (&timeInfo);
        }

        case op::processEvents:
        {
            const auto* list = static_cast<const vst::VstEvents*> (ptr);

            if (list == nullptr)
                return 0;

            for (int32_t i = 0; i < list->numEvents; ++i)
            {
                const auto* ev = list->events[i];

                if (ev == nullptr || ev->type != vst::EventType::midi)
                    continue;

                const auto* m = reinterpret_cast<const vst::VstMidiEvent*> (ev);
                midiOut.push_back ({blockStart + m->deltaFrames, {(uint8_t) m->midiData[0], (uint8_t) m->midiData[1], (uint8_t) m->midiData[2]}});
            }

            return 1;
        }

        default:
            return 0;
    }
}
