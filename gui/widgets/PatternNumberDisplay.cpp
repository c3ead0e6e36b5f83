#include "gui/widgets/PatternNumberDisplay.h"

#include "framework/NoteNames.h"
#include "gui/widgets/SkinElement.h"
#include "gui/widgets/SkinImages.h"

PatternNumberDisplay::PatternNumberDisplayDigit::PatternNumberDisplayDigit (int framesNumToUse, int x, const juce::Image& digitImage, int width, int height)
    : GFXAnimation ({})
{
    setTopLeftPosition (x, 0);

    if (digitImage.isValid())
        setImage (digitImage, framesNumToUse);
    else
        setSize (juce::jmax (0, width), juce::jmax (0, height));
}

void PatternNumberDisplay::PatternNumberDisplayDigit::paint (juce::Graphics& g)
{
    if (hasImage())
    {
        GFXAnimation::paint (g);
        return;
    }

    g.fillAll (juce::Colour::greyLevel (0.9f));
    g.setColour (juce::Colours::black);
    g.drawRect (getLocalBounds());
    g.drawText (getFrameText (getFrame()), getLocalBounds(), juce::Justification::centred, true);
}

namespace
{
juce::String digitText (int frame)
{
    return frame >= 1 && frame <= 10 ? juce::String (frame - 1) : juce::String();
}
} // namespace

PatternNumberDisplay::PatternNumberDisplayFirstDigit::PatternNumberDisplayFirstDigit (int x, const juce::Image& image, int width, int height)
    : PatternNumberDisplayDigit (numFrames, x, image, width, height)
{
}

juce::String PatternNumberDisplay::PatternNumberDisplayFirstDigit::getFrameText (int frame) const
{
    return frame == 11 ? juce::String ("P.") : digitText (frame);
}

PatternNumberDisplay::PatternNumberDisplaySecondDigit::PatternNumberDisplaySecondDigit (int x, const juce::Image& image, int width, int height)
    : PatternNumberDisplayDigit (numFrames, x, image, width, height)
{
}

juce::String PatternNumberDisplay::PatternNumberDisplaySecondDigit::getFrameText (int frame) const
{
    static const char* const letters[] = {"C", "D", "E", "F", "G", "A", "B"};

    if (frame >= 11 && frame <= 17)
        return letters[frame - 11];

    return frame == 18 ? juce::String ("-") : digitText (frame);
}

PatternNumberDisplay::PatternNumberDisplayThirdDigit::PatternNumberDisplayThirdDigit (int x, const juce::Image& image, int width, int height)
    : PatternNumberDisplayDigit (numFrames, x, image, width, height)
{
}

juce::String PatternNumberDisplay::PatternNumberDisplayThirdDigit::getFrameText (int frame) const
{
    if (frame == 11)
        return "#";

    return frame == 12 ? juce::String ("-") : digitText (frame);
}

PatternNumberDisplay::PatternNumberDisplayFourthDigit::PatternNumberDisplayFourthDigit (int x, const juce::Image& image, int width, int height)
    : PatternNumberDisplayDigit (numFrames, x, image, width, height)
{
}

juce::String PatternNumberDisplay::PatternNumberDisplayFourthDigit::getFrameText (int frame) const
{
    // The octave of notes 120 to 127 lies past the strip; drawn, it reads as a number.
    return frame > 0 ? juce::String (frame - 1) : juce::String();
}

PatternNumberDisplay::PatternNumberDisplay (const juce::String& name)
    : juce::Component (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts).
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

PatternNumberDisplay::~PatternNumberDisplay()
{
    digits.clear();
}

void PatternNumberDisplay::updateFromParameter (Parameter* changed)
{
    setPatternNumber (changed->getIntValue());
}

int PatternNumberDisplay::clampToRange (int n) const noexcept
{
    auto clamp = [n] (int min, int max)
    { return n < min ? min : juce::jmin (n, max); };

    switch (displayMode)
    {
        case noteMode:
            return clamp (notePatternMin, notePatternMax);
        case numericMode:
            return clamp (numericPatternMin, numericPatternMax);
        case bankAndSlotMode:
            return clamp (bankAndSlotPatternMin, bankAndSlotPatternMax);
        default:
            return n;
    }
}

void PatternNumberDisplay::setPatternNumber (int n)
{
    // Stored unclamped: a number published while another mode shows (the note range
    // before host mode is known) must not be lost to that mode's range.
    if (n == number)
        return;

    number = n;
    updateDigits();
}

void PatternNumberDisplay::setDisplayMode (int mode)
{
    if (mode == displayMode)
        return;

    displayMode = mode;
    updateDigits();
}

void PatternNumberDisplay::updateDigits()
{
    // Without the skin's digits there is nothing to set.
    if (digits.size() < 4)
        return;

    int frames[4] = {0, 0, 0, 0};
    const int n = getShownNumber();

    if (isEnabled())
    {
        switch (displayMode)
        {
            case noteMode:
            {
                const int pitchClass = ((n % 12) + 12) % 12;
                frames[0] = 11;
                frames[1] = 11 + getNaturalIndex (pitchClass);
                frames[2] = (pitchClass == 1 || pitchClass == 3 || pitchClass == 6 || pitchClass == 8 || pitchClass == 10) ? 11 : 12;
                frames[3] = n / 12 + 1;
                break;
            }
            case numericMode:
                frames[1] = n / 10 + 1;
                frames[2] = n % 10 + 1;
                break;
            case bankAndSlotMode:
            {
                // Widened: a skin's range may reach the lowest int.
                const auto index = (juce::int64) n - 1;
                const int slot = (int) (index % slotMax) + 1;
                frames[0] = (int) (index / slotMax) + 2;
                frames[1] = 18;
                frames[2] = slot / 10 + 1;
                frames[3] = slot % 10 + 1;
                break;
            }
            default:
                return;
        }
    }

    for (int i = 0; i < 4; ++i)
        digits.getUnchecked (i)->setFrame (frames[i]);
}

void PatternNumberDisplay::enablementChanged()
{
    updateDigits();
}

void PatternNumberDisplay::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    GUIController::loadFromXml (element, parameters, events, context);

    if (!SkinElement::hasTag (element, "PatternNumberDisplay"))
        return;

    notePatternMin = SkinElement::getInt (element, "notePatternMin", 0);
    notePatternMax = SkinElement::getInt (element, "notePatternMax", 127);
    numericPatternMin = SkinElement::getInt (element, "numericPatternMin", 1);
    numericPatternMax = SkinElement::getInt (element, "numericPatternMax", 16);
    bankAndSlotPatternMin = SkinElement::getInt (element, "bankAndSlotPatternMin", 1);
    bankAndSlotPatternMax = SkinElement::getInt (element, "bankAndSlotPatternMax", 96);
    slotMax = juce::jlimit (4, 16, SkinElement::getInt (element, "slotMax", 12));

    int left = 0, top = 0, width = 100, height = 40;

    if (auto* pos = SkinElement::getChild (element, "pos"))
    {
        left = SkinElement::getInt (*pos, "left", 0);
        top = SkinElement::getInt (*pos, "top", 0);
    }

    if (auto* size = SkinElement::getChild (element, "size"))
    {
        width = juce::jmax (0, SkinElement::getInt (*size, "width", 0));
        height = juce::jmax (0, SkinElement::getInt (*size, "height", 0));
    }

    if (auto* gfx = SkinElement::getChild (element, "gfx"))
    {
        digits.clear();

        const int digitWidth = width / 4;
        int x = 0;

        auto add = [this, &x] (PatternNumberDisplayDigit* digit)
        {
            digits.add (digit);
            addAndMakeVisible (digit);
            x += digit->getWidth();
        };

        auto image = [gfx] (const char* attribute)
        { return SkinImages::load (SkinElement::getString (*gfx, attribute)); };

        add (new PatternNumberDisplayFirstDigit (x, image ("firstDigit"), digitWidth, height));
        add (new PatternNumberDisplaySecondDigit (x, image ("secondDigit"), digitWidth, height));
        add (new PatternNumberDisplayThirdDigit (x, image ("thirdDigit"), digitWidth, height));
        add (new PatternNumberDisplayFourthDigit (x, image ("fourthDigit"), digitWidth, height));
    }

    setBounds (left, top, width, height);
    updateDigits();
}
