#include "drummachine/Pulsaret.h"

#include "engine/PulsaretCore.h"
#include "framework/NumberText.h"
#include "framework/XmlAttributes.h"
#include "sequencer/PulsaretSeq.h"

namespace
{
constexpr int patternButtons = PulsaretSeq::patternsPerBank;
constexpr int bankButtons = 4;
} // namespace

Pulsaret::Pulsaret() = default;

ProductInfo Pulsaret::getProductInfo() const
{
    auto info = DrumMachine::getProductInfo();
    info.version = getVersionString();
    info.buildNumber = getBuildNumber();
    return info;
}

Pulsaret::~Pulsaret()
{
    saveUserSettings();
}

std::unique_ptr<DrumMachineCore> Pulsaret::createCore()
{
    return std::make_unique<PulsaretCore>();
}

std::unique_ptr<DrumMachineSeq> Pulsaret::createSequencer()
{
    auto seq = std::make_unique<PulsaretSeq> (*this);
    pulsaretSeq = seq.get();
    return seq;
}

namespace
{
std::atomic<Pulsaret::EditorFactory> editorFactory{nullptr};
}

void Pulsaret::setEditorFactory (EditorFactory factory) noexcept
{
    editorFactory.store (factory);
}

std::unique_ptr<PluginEditorComponent> Pulsaret::createEditorComponent()
{
    if (auto factory = editorFactory.load())
        return factory (*this);

    return DrumMachine::createEditorComponent();
}

//==============================================================================
void Pulsaret::handleEvent (int uid)
{
    if (pulsaretSeq == nullptr)
        return;

    const bool playingNative = isInternalSequencerOn() && !isEditing();
    const bool isPressStep = uid >= pressStepEvent && uid < pressStepEvent + DrumMachineSeq::numSteps;
    const bool isPressStepWithCtrl = uid >= pressStepWithCtrlEvent && uid < pressStepWithCtrlEvent + DrumMachineSeq::numSteps;

    if (playingNative && (isPressStep || isPressStepWithCtrl))
    {
        const int index = uid - (isPressStep ? pressStepEvent : pressStepWithCtrlEvent);

        if (index < patternButtons)
        {
            if (isPressStepWithCtrl && pulsaretSeq->getChainBank() == currentBank)
            {
                // Stretches the chain to the pressed pattern; setChain orders the two.
                pulsaretSeq->setChain (pulsaretSeq->getChainFirst(), index);

                if (!pulsaretSeq->isNativePlaying())
                    pulsaretSeq->setNativePatternIndex (pulsaretSeq->getChainBank() * patternButtons + pulsaretSeq->getChainFirst());

                updatePatternDisplay();
            }
            else
            {
                selectChain (index, index);
            }
        }
        else
        {
            // Each bank button toggles between two banks.
            const int bank = index - patternButtons;
            currentBank = currentBank == bank ? bank + bankButtons : bank;
            updatePatternDisplay();
        }

        return;
    }

    if (isPressStep && isTapModeActive())
    {
        // Pairs of buttons tap a track plainly and accented: the accent track first.
        const int index = uid - pressStepEvent;
        const int pair = index / 2;
        const int track = pair == 0 ? accentTrack : pair - 1;
        uid = (index % 2 == 0 ? EventId::firstTap : EventId::firstTapAccented) + track;
    }
    else if (uid == EventId::tapAccept)
    {
        if (isEditing() && !isRandomizerModeOn())
            uid = tapEvent;
        else if (isRandomizerActive() && isRandomizerFilled())
            uid = acceptEvent;
    }

    DrumMachine::handleEvent (uid);
}

void Pulsaret::selectChain (int first, int last)
{
    if (pulsaretSeq == nullptr)
        return;

    pulsaretSeq->setChainBank (currentBank);
    pulsaretSeq->setChain (first, last);

    if (!pulsaretSeq->isNativePlaying())
    {
        const int start = pulsaretSeq->getChainBank() * patternButtons + pulsaretSeq->getChainFirst();
        pulsaretSeq->setNativePatternIndex (start);
        pulsaretSeq->setEditedPatternIndex (start);
    }

    updatePatternDisplay();
}

void Pulsaret::publishStepStates()
{
    if (pulsaretSeq == nullptr)
        return;

    auto stepValue = [] (int value)
    {
        return value == DrumMachineSeq::getAccentStepValue() ? 1.0f : value == DrumMachineSeq::getNormalStepValue() ? 0.5f
                                                                                                                    : 0.0f;
    };

    const int length = pulsaretSeq->getEditedPatternLength();

    for (int n = 0; n < DrumMachineSeq::numSteps; ++n)
    {
        float value = 0.0f;

        if (isTapModeActive())
        {
            // The running step lights while tapping.
            value = isNativeClockRunning() && n == pulsaretSeq->getNativeStep() ? 1.0f : 0.0f;
        }
        else if (isLengthModeActive())
        {
            value = 1.0f;
        }
        else if (isRandomizerActive() && isRandomizerFilled())
        {
            const int track = getSelectedRandomTrack();

            if (track >= 0 && n < length)
                value = stepValue (pulsaretSeq->getStepValue (track, n));
        }
        else if (isEditing())
        {
            int common = -1;

            for (int t = 0; t < numTracks; ++t)
            {
                if (!isTrackSelected (t))
                    continue;

                const int v = n < length ? pulsaretSeq->getStepValue (t, n) : 0;
                common = common < 0 ? v : (common == v ? common : 0);
            }

            value = stepValue (common);
        }
        else if (isInternalSequencerOn())
        {
            if (n < patternButtons)
            {
                value = pulsaretSeq->getChainBank() == currentBank && n >= pulsaretSeq->getChainFirst() && n <= pulsaretSeq->getChainLast()
                            ? 1.0f
                            : 0.0f;
            }
            else
            {
                const int k = n - patternButtons;
                value = currentBank == k ? 0.5f : currentBank == k + bankButtons ? 1.0f
                                                                                 : 0.0f;
            }
        }

        publish (stepStateUid + n, value);
    }
}

//==============================================================================
void Pulsaret::readChainXml (const juce::XmlElement& element)
{
    // -1 for a value that is no number, which the range check below refuses.
    auto read = [&element] (const char* name)
    { return readIntegerAttribute (element, name, 0).value_or (-1); };

    const int first = read ("first");
    const int last = read ("last");
    const int bank = read ("bank");

    // A damaged chain changes nothing rather than picking a pattern out of range.
    if (!juce::isPositiveAndBelow (first, patternButtons) || !juce::isPositiveAndBelow (last, patternButtons) || !juce::isPositiveAndBelow (bank, PulsaretSeq::numBanks))
        return;

    pulsaretSeq->setChain (first, last);
    pulsaretSeq->setChainBank (bank);
    currentBank = bank;

    if (!pulsaretSeq->isNativePlaying())
    {
        pulsaretSeq->setNativePatternIndex (bank * patternButtons + pulsaretSeq->getChainFirst());
        pulsaretSeq->editChainStart();
    }

    updatePatternDisplay();
}

void Pulsaret::loadPluginStateXml (const juce::XmlElement& element)
{
    // The chain first: the edited pattern that the drum machine's part restores then
    // stays the one that was saved, rather than moving to the chain's start.
    if (isPluginStateXml (element) && pulsaretSeq != nullptr)
        for (auto* child : element.getChildIterator())
            if (child->getTagName().equalsIgnoreCase ("PXState"))
                for (auto* chain : child->getChildIterator())
                    if (chain->getTagName().equalsIgnoreCase ("ChainPatterns"))
                        readChainXml (*chain);

    DrumMachine::loadPluginStateXml (element);
}

std::unique_ptr<juce::XmlElement> Pulsaret::createPluginStateXml()
{
    auto state = DrumMachine::createPluginStateXml();

    if (state == nullptr || pulsaretSeq == nullptr)
        return state;

    auto pxState = std::make_unique<juce::XmlElement> ("PXState");
    auto* chain = pxState->createNewChildElement ("ChainPatterns");
    chain->setAttribute ("first", pulsaretSeq->getChainFirst());
    chain->setAttribute ("last", pulsaretSeq->getChainLast());
    chain->setAttribute ("bank", pulsaretSeq->getChainBank());
    state->insertChildElement (pxState.release(), 0);
    return state;
}

//==============================================================================
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    try
    {
        return new Pulsaret();
    }
    catch (...)
    {
        return nullptr;
    }
}
