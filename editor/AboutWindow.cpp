#include "editor/AboutWindow.h"

#include "framework/BasePlugin.h"
#include "gui/EmbeddedFonts.h"

namespace
{
constexpr int headerHeight = 54;
constexpr int creditsHeight = 31;
constexpr int gap = 8;
const juce::Colour textColour (0xff202020);
} // namespace

AboutWindow::AboutWindow (BasePlugin& p)
    : plugin (p)
{
    setTitle ("About " + plugin.getProductInfo().name);
    getCloseButton().setVisible (false);
    lookAndFeelChanged();
}

AboutWindow::~AboutWindow() = default;

bool AboutWindow::dimsBackground()
{
    return true;
}

void AboutWindow::mouseDown (const juce::MouseEvent&)
{
    hide();
}

void AboutWindow::lookAndFeelChanged()
{
    // The frame reads its colours from the look and feel when it paints.
    WindowComponent::lookAndFeelChanged();
    repaint();
}

void AboutWindow::resized()
{
    WindowComponent::resized();
    const auto content = getContentArea();
    const int headerWidth = (int) (content.getWidth() * 0.4) - 4;
    headerArea = content.withHeight (headerHeight).withWidth (juce::jmax (0, headerWidth));
    versionArea = content.withHeight (headerHeight)
                      .withTrimmedLeft (headerArea.getWidth() + gap);
    creditsArea = content.withTop (content.getBottom() - creditsHeight).withTrimmedTop (gap);
}

juce::StringArray AboutWindow::getTexts() const
{
    const auto info = plugin.getProductInfo();
    return {info.name.toUpperCase(), "Version " + info.version, info.format + " " + info.platform,
            info.buildNumber + "; " + info.buildDate, "VST Plug-In Technology by Steinberg."};
}

void AboutWindow::paint (juce::Graphics& g)
{
    WindowComponent::paint (g);
    const auto texts = getTexts();
    g.setColour (textColour);

    g.setFont (EmbeddedFonts::tahoma (17.0f, juce::Font::bold));
    g.drawText (texts[0], headerArea.translated (0, -3), juce::Justification::topLeft, false);

    const auto formatFont = EmbeddedFonts::tahoma (14.0f);
    const int formatWidth = juce::roundToInt (formatFont.getStringWidthFloat (texts[2]));
    g.setFont (formatFont);
    g.drawText (texts[2], versionArea.translated (0, -3), juce::Justification::topRight, false);

    g.setFont (EmbeddedFonts::tahoma (15.0f, juce::Font::bold));
    g.drawText (texts[1], versionArea.translated (0, -3).withTrimmedRight (formatWidth + gap),
                juce::Justification::topRight, false);

    g.setFont (EmbeddedFonts::tahoma (12.0f));
    g.drawText (texts[3], versionArea.withTrimmedTop (19), juce::Justification::topRight, false);

    g.setFont (EmbeddedFonts::tahoma (12.0f));
    g.drawText (texts[4], creditsArea.withTrimmedTop (10), juce::Justification::centredBottom, false);
}
