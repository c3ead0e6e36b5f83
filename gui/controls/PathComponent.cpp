#include "gui/controls/PathComponent.h"
#include "gui/controls/ToolkitDrawing.h"
#include "gui/controls/ToolkitLookAndFeelMethods.h"

PathComponent::PathComponent()
    : chooserLauncher (std::make_unique<FileChooserLauncher>())
{
    browseButton.addListener (this);
    addAndMakeVisible (browseButton);
    lookAndFeelChanged();
}

PathComponent::~PathComponent()
{
    browseButton.removeListener (this);
}

void PathComponent::setPath (const juce::String& newPath, bool notify)
{
    if (newPath == path)
        return;

    path = newPath;
    measure();
    repaint();

    if (notify)
        notifyListeners();
}

void PathComponent::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void PathComponent::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void PathComponent::notifyListeners()
{
    for (int i = listeners.size(); --i >= 0;)
    {
        listeners.getUnchecked (i)->pathChanged (this);
        i = juce::jmin (i, listeners.size());
    }
}

void PathComponent::setFileChooserLauncher (std::unique_ptr<FileChooserLauncher> launcher)
{
    if (launcher != nullptr)
        chooserLauncher = std::move (launcher);
}

bool PathComponent::isPathOverflowing() const noexcept
{
    return pathWidth > textArea.getWidth() - 2 * textInset;
}

void PathComponent::browse()
{
    juce::Component::SafePointer<PathComponent> safeThis (this);
    chooserLauncher->setParentAbove (*this);
    chooserLauncher->launch (chooserTitle, chooserFolder ? chooserFolder() : chooserInitialFile, chooserWildcard,
                             [safeThis] (const juce::File& file)
                             {
                                 if (safeThis != nullptr)
                                     safeThis->setPath (file.getFullPathName(), true);
                             });
}

void PathComponent::buttonClicked (juce::Button* button)
{
    if (button == &browseButton)
        browse();
}

void PathComponent::parentHierarchyChanged()
{
    if (lookAndFeelWatch.changed (*this))
        sendLookAndFeelChange();
}

void PathComponent::lookAndFeelChanged()
{
    lookAndFeelWatch.changed (*this);

    if (auto* laf = dynamic_cast<ToolkitLookAndFeelMethods*> (&getLookAndFeel()))
        font = laf->getDefaultFont();

    measure();
    setSize (getWidth(), browseButton.getHeight());
    resized();
    repaint();
}

void PathComponent::measure()
{
    pathWidth = juce::roundToInt (font.getStringWidthFloat (path));
    markerWidth = juce::roundToInt (font.getStringWidthFloat (overflowMarker));
}

void PathComponent::resized()
{
    if (getHeight() != browseButton.getHeight())
    {
        setSize (getWidth(), browseButton.getHeight()); // comes back here
        return;
    }

    browseButton.setTopLeftPosition (getWidth() - browseButton.getWidth(), 0);
    textArea = getLocalBounds().withTrimmedRight (browseButton.getWidth() + buttonGap);
    textRect = textArea.reduced (textInset);
}

void PathComponent::paint (juce::Graphics& g)
{
    const float alpha = isEnabled() ? 1.0f : 0.5f;
    const auto outline = findColour (outlineColourId);

    if (!outline.isTransparent())
    {
        g.setColour (findColour (fieldColourId).withMultipliedAlpha (alpha));
        ToolkitDrawing::fillRoundedRectangle (g, textArea.toFloat(), 4.0f);
        g.setColour (outline.withMultipliedAlpha (alpha));
        ToolkitDrawing::drawRoundedOutline (g, textArea.toFloat(), 4.0f, 1.0f);
    }

    const auto textColour = findColour (textColourId).withMultipliedAlpha (alpha);
    g.setFont (font);

    if (isPathOverflowing())
    {
        auto pathRect = textRect;
        const auto markerRect = pathRect.removeFromRight (markerWidth);
        {
            juce::Graphics::ScopedSaveState state (g);
            g.reduceClipRegion (pathRect);
            g.setColour (textColour);
            g.drawText (path, pathRect, juce::Justification::centredLeft, false);
        }
        g.setColour (textColour.withMultipliedAlpha (0.5f));
        g.drawText (overflowMarker, markerRect, juce::Justification::centredLeft, false);
    }
    else
    {
        g.setColour (textColour);
        g.drawText (path, textRect, juce::Justification::centredLeft, false);
    }
}
