#include "gui/controls/WindowComponent.h"
#include "gui/EmbeddedFonts.h"
#include "gui/ToolkitImages.h"
#include "gui/controls/ToolkitDrawing.h"
#include "gui/controls/ToolkitLookAndFeelMethods.h"

WindowComponent::WindowComponent()
    : titleIcon (ToolkitImages::titleIcon())
    , titleFont (EmbeddedFonts::tahoma (15.0f, juce::Font::bold))
{
    for (int side = 1; side <= 4; ++side)
        edgeImages[side - 1] = ToolkitImages::edgeStrip (side);

    closeButton.addListener (this);
    addAndMakeVisible (closeButton);
    lookAndFeelChanged();
}

WindowComponent::~WindowComponent()
{
    closeButton.removeListener (this);
}

void WindowComponent::setTitle (const juce::String& newTitle)
{
    if (newTitle == title)
        return;

    title = newTitle;

    if (titleBarVisible)
        repaint();

    titleChanged();
}

int WindowComponent::getWidthForTitle() const
{
    if (!titleBarVisible)
        return 0;

    // The inverse of the title text area that resized() lays out.
    const int textWidth = (int) std::ceil (titleFont.getStringWidthFloat (title));
    return textWidth + 16 + closeButton.getWidth() + titleIcon.getWidth() + 12;
}

void WindowComponent::setTitleBarVisible (bool shouldBeVisible)
{
    if (shouldBeVisible == titleBarVisible)
        return;

    titleBarVisible = shouldBeVisible;
    closeButton.setVisible (titleBarVisible);
    resized();
    repaint();
}

void WindowComponent::setBordered (bool shouldBeBordered)
{
    if (shouldBeBordered == bordered)
        return;

    bordered = shouldBeBordered;
    resized();
    repaint();
}

void WindowComponent::setFrameShape (int newShape)
{
    if (newShape != frameShape)
    {
        frameShape = newShape;
        repaint();
    }
}

void WindowComponent::setEdgeImageSide (int newSide)
{
    if (newSide != edgeImageSide)
    {
        edgeImageSide = newSide;
        resized();
        repaint();
    }
}

juce::Rectangle<int> WindowComponent::getContentArea() const
{
    auto area = getLocalBounds();

    if (bordered)
        area = area.reduced (borderThickness);

    switch (edgeImageSide)
    {
        case 1:
            area.removeFromTop (edgeImages[0].getHeight());
            break;
        case 2:
            area.removeFromBottom (edgeImages[1].getHeight());
            break;
        case 3:
            area.removeFromLeft (edgeImages[2].getWidth());
            break;
        case 4:
            area.removeFromRight (edgeImages[3].getWidth());
            break;
        default:
            break;
    }

    area = area.reduced (contentMargin);

    if (titleBarVisible)
        area.removeFromTop (titleBarHeight);

    return area;
}

void WindowComponent::setContentSize (int width, int height)
{
    width += (bordered ? 2 * borderThickness : 0) + 2 * contentMargin;
    height += (bordered ? 2 * borderThickness : 0) + 2 * contentMargin + (titleBarVisible ? titleBarHeight : 0);

    if (edgeImageSide == 1 || edgeImageSide == 2)
        height += edgeImages[edgeImageSide - 1].getHeight();
    else if (edgeImageSide == 3 || edgeImageSide == 4)
        width += edgeImages[edgeImageSide - 1].getWidth();

    setBounds (getX(), getY(), juce::jmax (width, minimumWidth), juce::jmax (height, minimumHeight));
}

void WindowComponent::buttonClicked (juce::Button* button)
{
    if (button == &closeButton)
        hide();
}

void WindowComponent::parentHierarchyChanged()
{
    PseudoModalComponent::parentHierarchyChanged();
    if (lookAndFeelWatch.changed (*this))
        sendLookAndFeelChange();
}

void WindowComponent::lookAndFeelChanged()
{
    lookAndFeelWatch.changed (*this);

    if (auto* laf = dynamic_cast<ToolkitLookAndFeelMethods*> (&getLookAndFeel()))
        laf->setImageButtonImages (closeButton, 0, laf->getStandardIconSize());

    resized();
}

void WindowComponent::resized()
{
    const int buttonWidth = closeButton.getWidth();
    const int iconWidth = titleIcon.getWidth();
    closeButton.setTopLeftPosition (getWidth() - buttonWidth - 10, 8);
    titleArea = {8, 8, getWidth() - 16, 28};
    titleTextArea = titleArea.withX (titleArea.getX() + iconWidth + 6)
                        .withWidth (juce::jmax (0, titleArea.getWidth() - (buttonWidth + iconWidth + 12)));
}

void WindowComponent::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    g.setColour (findColour (backgroundColourId));

    if (frameShape == 1)
        ToolkitDrawing::fillRoundedRectangle (g, bordered ? bounds.reduced (1.0f) : bounds, 8.0f);
    else if (frameShape == 0)
        g.fillRect (bounds);

    if (edgeImageSide >= 1 && edgeImageSide <= 4)
    {
        const auto& strip = edgeImages[edgeImageSide - 1];
        juce::Rectangle<int> target;

        switch (edgeImageSide)
        {
            case 1:
                target = {0, 0, getWidth(), strip.getHeight()};
                break;
            case 2:
                target = {0, getHeight() - strip.getHeight(), getWidth(), strip.getHeight()};
                break;
            case 3:
                target = {0, 0, strip.getWidth(), getHeight()};
                break;
            default:
                target = {getWidth() - strip.getWidth(), 0, strip.getWidth(), getHeight()};
                break;
        }

        g.drawImage (strip, target.toFloat(), juce::RectanglePlacement::stretchToFit);
    }

    if (bordered)
    {
        g.setColour (findColour (borderColourId));

        if (frameShape == 1)
            ToolkitDrawing::drawRoundedOutline (g, bounds, 8.0f, (float) borderThickness);
        else if (frameShape == 0)
            g.drawRect (getLocalBounds(), borderThickness);
    }

    if (titleBarVisible)
    {
        g.setColour (findColour (titleBarColourId));
        ToolkitDrawing::fillRoundedRectangle (g, titleArea.toFloat().reduced (1.0f), 4.0f);
        g.setColour (findColour (titleTextColourId));
        ToolkitDrawing::drawRoundedOutline (g, titleArea.toFloat(), 5.0f, 1.0f);
        g.drawImageAt (titleIcon, titleArea.getX() + 3, titleArea.getY() + 2);
        g.setFont (titleFont);
        g.drawText (title, titleTextArea, juce::Justification::centredLeft, false);
    }
}
