#pragma once

#include "gui/controls/ComponentRow.h"
#include "gui/controls/PlainTextButton.h"
#include "gui/controls/WindowComponent.h"

#include <memory>

namespace Oru
{
/** The toolkit's question box: a framed window with a one-line message and a
    right-aligned row of text buttons, shown over a darkened editor. The chosen
    button's result goes to the caller after the box is hidden. */
class AlertWindow : public WindowComponent
{
public:
    class Caller
    {
    public:
        virtual ~Caller() = default;
        virtual void alertWindowClosed (AlertWindow* window, int result) = 0;
    };

    AlertWindow();
    ~AlertWindow() override;

    /** A hidden "Yes" (1) / "No" (0) question; the owner adds it below the editor
        and shows it. */
    static std::unique_ptr<AlertWindow> createQuestionWindow (const juce::String& title, const juce::String& message,
                                                              Caller* caller);

    void setMessage (const juce::String& message);
    juce::String getMessage() const { return messageLabel.getText(); }

    void addButton (const juce::String& text, int result);
    void setCaller (Caller* newCaller) noexcept { caller = newCaller; }

    int getNumButtons() const noexcept { return buttons.size(); }
    PlainTextButton* getButton (int index) const noexcept { return buttons[index]; }
    ComponentRow& getButtonRow() noexcept { return buttonRow; }
    juce::Label& getMessageLabel() noexcept { return messageLabel; }

    bool dimsBackground() override;
    void buttonClicked (juce::Button* button) override;
    void lookAndFeelChanged() override;
    void resized() override;
    void childBoundsChanged (juce::Component* child) override;

protected:
    void titleChanged() override;

private:
    void fitSize();

    ComponentRow buttonRow{ComponentRow::row, ComponentRow::end, 0};
    juce::OwnedArray<PlainTextButton> buttons;
    juce::Array<int> results;
    juce::Label messageLabel;
    Caller* caller = nullptr;
    juce::Rectangle<int> rowSizeSeen;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AlertWindow)
};
} // namespace Oru
