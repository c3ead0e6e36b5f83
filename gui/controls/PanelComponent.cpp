#include "gui/controls/PanelComponent.h"
#include "gui/controls/ToolkitDrawing.h"

namespace
{
const juce::Colour frameColour (0xff7c7c7c);
const juce::Colour titleBackColour (0xffc5c5c5);
} // namespace

PanelComponent::PanelComponent (const juce::String& t)
    : title (t)
{
    lookAndFeelChanged();
}

PanelComponent::~PanelComponent() = default;

void PanelComponent::setTitle (const juce::String& newTitle)
{
    if (newTitle != title)
    {
        title = newTitle;
        updateLayout();
    }
}

void PanelComponent::setContent (juce::Component* newContent)
{
    if (newContent == content)
        return;

    if (content != nullptr)
        removeChildComponent (content);

    content = newContent;

    if (content != nullptr)
        addAndMakeVisible (content);

    updateLayout();
}

void PanelComponent::setFixedWidth (int width)
{
    if (width != fixedWidth)
    {
        fixedWidth = width;
        updateLayout();
    }
}

void PanelComponent::parentHierarchyChanged()
{
    if (lookAndFeelWatch.changed (*this))
        sendLookAndFeelChange();
}

void PanelComponent::lookAndFeelChanged()
{
    lookAndFeelWatch.changed (*this);

    if (auto* laf = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
    {
        titleFont = laf->getPanelTitleFont();
        border = laf->getPanelBorder();
        titleIndent = laf->getPanelTitleIndent();
        titlePadding = laf->getPanelTitlePadding();
    }

    updateLayout();
}

void PanelComponent::updateLayout()
{
    if (updating)
        return;

    const juce::ScopedValueSetter<bool> guard (updating, true);
    const int titleHeight = (int) titleFont.getHeight();
    titleStrip = {titleIndent - titlePadding, 0,
                  juce::roundToInt (titleFont.getStringWidthFloat (title)) + 2 * titlePadding, titleHeight};

    const int contentWidth = content != nullptr ? content->getWidth() : 0;
    const int contentHeight = content != nullptr ? content->getHeight() : 0;

    if (content != nullptr)
        content->setTopLeftPosition (border.getLeft(), border.getTop());

    const int width = fixedWidth > 0 ? fixedWidth
                                     : juce::jmax (border.getLeft() + contentWidth + border.getRight(),
                                                   titleStrip.getRight() + 8);
    setSize (width, border.getTop() + contentHeight + border.getBottom());
    frameArea = getLocalBounds().withTrimmedTop (titleHeight / 2);
    repaint();
}

void PanelComponent::childBoundsChanged (juce::Component* child)
{
    if (child == content)
        updateLayout();
}

void PanelComponent::resized()
{
    updateLayout();
}

void PanelComponent::paint (juce::Graphics& g)
{
    g.setColour (frameColour);
    ToolkitDrawing::drawRoundedOutline (g, frameArea.toFloat(), 4.0f, 1.0f);
    g.setColour (titleBackColour);
    g.fillRect (titleStrip);
    g.setColour (juce::Colours::black);
    g.setFont (titleFont);
    g.drawText (title, titleIndent, 0, getWidth() - 2 * titleIndent, titleStrip.getHeight(),
                juce::Justification::centredLeft, false);
}
