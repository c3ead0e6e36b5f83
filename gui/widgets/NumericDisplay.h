#pragma once

#include "gui/widgets/GUIController.h"
#include "gui/widgets/NumericDisplayDigit.h"
#include "gui/widgets/NumericDisplaySign.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Shows the linked parameter's plain value as a row of digit images; dragging
    vertically on a digit changes the value by that digit's step. */
class NumericDisplay : public GUIController, public juce::Component
{
public:
    explicit NumericDisplay (const juce::String& name);
    ~NumericDisplay() override;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;

    /** Clamps into the range; a changed value is written to the parameter when notify is set. */
    void setValue (double newValue, bool notify);
    double getValue() const noexcept { return value; }

    void setControlEnabled (bool shouldBeEnabled) noexcept { controlEnabled = shouldBeEnabled; }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;

    int getDigitsNum() const noexcept { return digitsNum; }
    double getFirstDigitOrder() const noexcept { return firstDigitOrder; }
    int getNumDigitComponents() const noexcept { return digits.size(); }
    NumericDisplayDigit* getDigit (int index) const noexcept { return digits[index]; }
    NumericDisplaySign* getSign() const noexcept { return sign.get(); }
    double getDragStep() const noexcept { return dragStep; }
    int getPixelsPerStep() const noexcept { return pixelsPerStep; }

    /** More digits than a double carries make no sense and cost a component each. */
    static constexpr int maxDigits = 15;

private:
    int digitsNum = 1;
    double firstDigitOrder = 1.0;
    double scale = 1.0;
    double divisor = 1.0;
    int unitsFromEnd = 1;
    double minValue = 0.0, maxValue = 0.0;
    double value = 0.0;
    bool continuousControl = false;
    bool controlEnabled = true;
    int digitWidth = 0, digitHeight = 0;

    std::unique_ptr<NumericDisplaySign> sign;
    juce::OwnedArray<NumericDisplayDigit> digits;

    bool dragging = false;
    double dragStartValue = 0.0;
    double dragStep = 1.0;
    int pixelsPerStep = 25;
};
