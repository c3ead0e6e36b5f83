#include "gui/controls/AlertWindow.h"
#include "gui/controls/ToolkitLookAndFeelMethods.h"

namespace Oru
{
AlertWindow::AlertWindow()
{
    messageLabel.setJustificationType (juce::Justification::centredLeft);
    // The window is fitted to the bare text width: a label border would cut it short.
    messageLabel.setBorderSize ({});
    addAndMakeVisible (buttonRow);
    addAndMakeVisible (messageLabel);
    lookAndFeelChanged();
}

AlertWindow::~AlertWindow()
{
    for (auto* button : buttons)
        button->removeListener (this);
}

std::unique_ptr<AlertWindow> AlertWindow::createQuestionWindow (const juce::String& title, const juce::String& message,
                                                                Caller* caller)
{
    auto window = std::make_unique<AlertWindow>();
    window->setTitle (title);
    window->setMessage (message);
    window->addButton ("Yes", 1);
    window->addButton ("No", 0);
    window->setCaller (caller);
    return window;
}

void AlertWindow::setMessage (const juce::String& message)
{
    messageLabel.setText (message, juce::dontSendNotification);
    fitSize();
}

void AlertWindow::addButton (const juce::String& text, int result)
{
    auto* button = buttons.add (new PlainTextButton (text, 0));
    button->addListener (this);
    results.add (result);
    buttonRow.addAndMakeVisible (button);
    fitSize();
    resized();
}

bool AlertWindow::dimsBackground()
{
    return true;
}

void AlertWindow::buttonClicked (juce::Button* button)
{
    const int index = buttons.indexOf (dynamic_cast<PlainTextButton*> (button));

    if (index < 0)
    {
        WindowComponent::buttonClicked (button);
        return;
    }

    const int result = results[index];
    hide();

    if (caller != nullptr)
        caller->alertWindowClosed (this, result);
}

void AlertWindow::lookAndFeelChanged()
{
    WindowComponent::lookAndFeelChanged();

    if (auto* laf = dynamic_cast<ToolkitLookAndFeelMethods*> (&getLookAndFeel()))
    {
        messageLabel.setFont (laf->getDefaultFont());
        fitSize();
    }
}

void AlertWindow::fitSize()
{
    const auto font = messageLabel.getFont();
    const int width = juce::jmax ((int) font.getStringWidthFloat (messageLabel.getText()), buttonRow.getWidth());
    const int height = (int) font.getHeight() + buttonRow.getHeight() + 10;
    setContentSize (width, height);

    // A title can be wider than its message ("Save current settings as preset" over a short
    // notice): the title bar would cut it off.
    if (getWidth() < getWidthForTitle())
        setSize (getWidthForTitle(), getHeight());
}

void AlertWindow::titleChanged()
{
    fitSize();
    resized();
}

void AlertWindow::childBoundsChanged (juce::Component* child)
{
    // Text buttons resize when they get their images: fit the window to the new row.
    if (child == &buttonRow && buttonRow.getLocalBounds() != rowSizeSeen)
    {
        rowSizeSeen = buttonRow.getLocalBounds();
        fitSize();
        resized();
    }
}

void AlertWindow::resized()
{
    WindowComponent::resized();
    auto area = getContentArea();
    auto rowArea = area.removeFromBottom (buttonRow.getHeight());
    buttonRow.setTopLeftPosition (rowArea.getRight() - buttonRow.getWidth(), rowArea.getY());
    area.removeFromBottom (10);
    messageLabel.setBounds (area);
    repaint();
}
} // namespace Oru
