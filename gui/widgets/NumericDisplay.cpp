#include "gui/widgets/NumericDisplay.h"

#include "gui/widgets/SkinElement.h"
#include "gui/widgets/SkinImages.h"

NumericDisplay::NumericDisplay (const juce::String& name)
    : juce::Component (name)
{
    // Skin widgets leave the keyboard to the host (its shortcuts); Return must not click again.
    setWantsKeyboardFocus (false);
    setMouseClickGrabsKeyboardFocus (false);
}

NumericDisplay::~NumericDisplay()
{
    digits.clear();
    sign.reset();
}

void NumericDisplay::updateFromParameter (Parameter* changed)
{
    setValue (changed->getValue(), false);
}

void NumericDisplay::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    GUIController::loadFromXml (element, parameters, events, context);

    if (!SkinElement::hasTag (element, "NumericDisplay"))
        return;

    digitsNum = juce::jlimit (1, maxDigits, SkinElement::getInt (element, "digitsNum", 1));

    const double defaultOrder = std::pow (10.0, digitsNum - 1);
    firstDigitOrder = SkinElement::getDouble (element, "firstDigitOrder", defaultOrder);
    // "nan" and "inf" parse as numbers; an endless range has no digits to show.
    auto readLimit = [&element] (const char* name)
    {
        const double limit = SkinElement::getDouble (element, name, 0.0);
        return std::isfinite (limit) ? limit : 0.0;
    };

    minValue = readLimit ("minValue");
    maxValue = readLimit ("maxValue");
    continuousControl = SkinElement::getString (element, "control") == "continous";

    const double orderLog = firstDigitOrder > 0.0 ? std::log10 (firstDigitOrder) : 0.0;

    if (firstDigitOrder <= 0.0 || orderLog != std::floor (orderLog) || !std::isfinite (orderLog))
        firstDigitOrder = defaultOrder;

    const double order = std::log10 (firstDigitOrder);
    scale = std::pow (10.0, digitsNum - 1 - order);
    divisor = std::pow (10.0, digitsNum - 1);
    unitsFromEnd = juce::jmax (0, (int) (digitsNum - order));

    const bool hasSign = minValue < 0.0;

    if (auto* size = SkinElement::getChild (element, "size"))
    {
        digitWidth = juce::jmax (0, SkinElement::getInt (*size, "width", 0) / (digitsNum + (hasSign ? 1 : 0)));
        digitHeight = juce::jmax (0, SkinElement::getInt (*size, "height", 0));
    }

    removeAllChildren();
    digits.clear();
    sign.reset();

    if (hasSign)
    {
        juce::Image signImage;

        if (auto* signElement = SkinElement::getChild (element, "sign"))
            if (auto* gfx = SkinElement::getChild (*signElement, "gfx"))
                signImage = SkinImages::load (SkinElement::getString (*gfx, "resource"));

        sign = std::make_unique<NumericDisplaySign> (signImage, digitWidth, digitHeight);
        addAndMakeVisible (*sign);
    }

    int x = sign != nullptr ? sign->getWidth() : 0;

    auto addDigit = [this, &x] (const juce::Image& image)
    {
        // Digits left of the units digit belong to the integer part.
        const bool integerPart = digits.size() <= digitsNum - unitsFromEnd;
        auto* digit = digits.add (std::make_unique<NumericDisplayDigit> (image, digitWidth, digitHeight, integerPart));
        digit->setTopLeftPosition (x, 0);
        addAndMakeVisible (digit);
        x += digit->getWidth();
    };

    auto* digitsElement = SkinElement::getChild (element, "digits");

    if (digitsElement != nullptr && digitsElement->getNumChildElements() > 0)
    {
        for (auto* gfx : digitsElement->getChildIterator())
            if (SkinElement::hasTag (*gfx, "gfx") && digits.size() < digitsNum)
                addDigit (SkinImages::load (SkinElement::getString (*gfx, "resource")));
    }
    else
    {
        const auto shared = digitsElement != nullptr ? SkinImages::load (SkinElement::getString (*digitsElement, "resource")) : juce::Image();

        for (int i = 0; i < digitsNum; ++i)
            addDigit (shared);
    }

    int left = 0, top = 0;

    if (auto* pos = SkinElement::getChild (element, "pos"))
    {
        left = SkinElement::getInt (*pos, "left", 0);
        top = SkinElement::getInt (*pos, "top", 0);
    }

    int width = 0, height = 0;

    for (auto* child : getChildren())
    {
        width += child->getWidth();
        height = juce::jmax (height, child->getHeight());
    }

    setBounds (left, top, width, height);
    setValue (minValue, false);
}

void NumericDisplay::setValue (double newValue, bool notify)
{
    if (!std::isfinite (newValue))
        return;

    // Below the minimum wins over above the maximum, so a reversed range cannot assert.
    const double v = newValue < minValue ? minValue : juce::jmin (newValue, maxValue);

    if (v != value)
    {
        value = v;

        if (notify)
        {
            if (auto* linked = getParameter())
            {
                linked->setValue ((float) v, true);
                sendValueChanged();
            }
        }
    }

    double n = std::round (std::abs (value) * scale);
    double w = divisor;
    bool shown = false;

    // Every position is worked out; a display with fewer digit images than digits
    // simply has nothing to show for the missing ones.
    for (int i = 0; i < digitsNum; ++i)
    {
        // A value too large for the scale leaves no finite digit: shown as 0.
        double d = std::trunc (n / w);

        if (!std::isfinite (d))
            d = 0.0;

        if (d != 0.0 || i == digitsNum - unitsFromEnd)
            shown = true;

        if (auto* digit = digits[i])
            digit->setDigit ((int) juce::jlimit (0.0, 1.0e6, d), !shown);

        n -= d * w;
        w *= 0.1;
    }

    if (sign != nullptr)
        sign->setNegative (value < 0.0);
}

void NumericDisplay::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

void NumericDisplay::mouseDown (const juce::MouseEvent& e)
{
    if (!controlEnabled)
        return;

    sendGestureBegin();
    dragStartValue = value;
    dragging = true;

    int k = 1;

    if (!continuousControl)
    {
        const double position = getWidth() > 0 ? (double) e.x / (double) getWidth() * digitsNum : 0.0;
        k = (int) juce::jlimit (0.0, (double) (digitsNum - 1), position);
    }

    dragStep = firstDigitOrder / std::pow (10.0, k);

    // From the sixth digit on the formula would give 0 or negative pixels per step.
    pixelsPerStep = juce::jmax (5, (5 - k) * 5);
}

void NumericDisplay::mouseDrag (const juce::MouseEvent& e)
{
    if (!controlEnabled || !dragging)
        return;

    const int steps = e.getDistanceFromDragStartY() / pixelsPerStep;
    setValue (dragStartValue - steps * dragStep, true);
}

void NumericDisplay::mouseUp (const juce::MouseEvent&)
{
    if (!controlEnabled)
        return;

    dragging = false;
    sendGestureEnd();
}
