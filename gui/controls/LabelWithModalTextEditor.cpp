#include "gui/controls/LabelWithModalTextEditor.h"

namespace
{
void setColourIfDifferent (juce::Component& c, int colourId, juce::Colour colour)
{
    if (c.findColour (colourId) != colour)
        c.setColour (colourId, colour); // notifies the component of the change
}
} // namespace

LabelWithModalTextEditor::LabelWithModalTextEditor() = default;

LabelWithModalTextEditor::~LabelWithModalTextEditor()
{
    if (editor != nullptr)
        editor->removeListener (this);
}

void LabelWithModalTextEditor::setText (const juce::String& newText)
{
    if (newText == text)
        return;

    text = newText;

    if (editor != nullptr)
        editor->setText (text, false);

    repaint();
}

void LabelWithModalTextEditor::setFont (const juce::Font& newFont)
{
    if (newFont == font)
        return;

    font = newFont;

    if (editor != nullptr)
        editor->applyFontToAllText (font);

    repaint();
}

void LabelWithModalTextEditor::addListener (ModalTextEditor::ModalListener* listener)
{
    if (editor != nullptr)
        editor->addListener (listener);
    else if (listener != nullptr)
        pendingListeners.addIfNotAlreadyThere (listener);
}

void LabelWithModalTextEditor::showEditor()
{
    if (editor == nullptr)
    {
        editor = std::make_unique<ModalTextEditor> (getName());
        editor->setOwner (this);
        editor->addListener (this);

        for (auto* listener : pendingListeners)
            editor->addListener (listener);

        pendingListeners.clear();
    }

    addChildComponent (*editor);
    editor->setBounds (getLocalBounds());

    setColourIfDifferent (*editor, juce::TextEditor::highlightColourId, juce::Colour (0xffd3d3d3));
    setColourIfDifferent (*editor, juce::TextEditor::outlineColourId, juce::Colour (0xff000000));
    setColourIfDifferent (*editor, juce::TextEditor::focusedOutlineColourId, juce::Colour (0xffff4500).withAlpha (0.75f));

    editor->setFont (font);
    editor->applyFontToAllText (font);
    editor->setText (text, false);
    editor->selectAll();
    editor->setVisible (true);
    editor->toFront (false);

    if (editor->isShowing())
        editor->grabFocusForEdit();
}

void LabelWithModalTextEditor::paint (juce::Graphics& g)
{
    g.setColour (findColour (textColourId));
    g.setFont (font);
    g.drawText (text, getLocalBounds(), juce::Justification::centredLeft, false);
}

void LabelWithModalTextEditor::resized()
{
    if (editor != nullptr && editor->getParentComponent() == this)
        editor->setBounds (getLocalBounds());
}

void LabelWithModalTextEditor::mouseDoubleClick (const juce::MouseEvent&)
{
    showEditor();
}

void LabelWithModalTextEditor::textChanged (ModalTextEditor* source)
{
    setText (source->getText());
}

void LabelWithModalTextEditor::editCancelled (ModalTextEditor* source)
{
    setText (source->getText());
}

void LabelWithModalTextEditor::editFinished (ModalTextEditor* source)
{
    source->setVisible (false);
}
