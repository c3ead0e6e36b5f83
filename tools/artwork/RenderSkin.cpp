// Builds the panel from a skin folder (resources/skin by default) with the toolkit's
// widgets linked to a fresh instrument and writes what it looks like as a PNG, for
// looking at the skin without a host. A second picture shows lit states.
#include "SkinWidgetFactory.h"
#include "drummachine/Pulsaret.h"
#include "framework/XmlDocuments.h"
#include "gui/widgets/SkinImages.h"

#include <iostream>
#include <vector>

namespace
{
class Panel : public juce::Component
{
public:
    explicit Panel (const juce::Image& backgroundImage)
        : background (backgroundImage)
    {
        setSize (background.getWidth(), background.getHeight());
    }

    void paint (juce::Graphics& g) override { g.drawImageAt (background, 0, 0); }

    std::vector<SkinWidget> widgets;

private:
    juce::Image background;
};

bool writePng (const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream out (file);
    return out.openedOk() && juce::PNGImageFormat().writeImageToStream (image, out);
}
} // namespace

int main (int argc, char** argv)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto folder = cwd.getChildFile (argc > 1 ? argv[1] : "resources/skin");
    const auto output = cwd.getChildFile (argc > 2 ? argv[2] : "skin-snapshot.png");

    // The folder's images go ahead of the embedded ones, so an edit shows without a rebuild.
    for (const auto& file : folder.findChildFiles (juce::File::findFiles, false, "*.png"))
        SkinImages::add (file.getFileName(), juce::ImageFileFormat::loadFrom (file));

    const auto skin = parseXmlDocument (folder.getChildFile ("skin.xml"));

    if (skin == nullptr)
    {
        std::cerr << "no skin.xml in " << folder.getFullPathName() << "\n";
        return 1;
    }

    const auto settings = juce::File::createTempFile ("pulsaret-render");
    settings.createDirectory();
    auto plugin = std::make_unique<Pulsaret>();
    plugin->setUserSettingsFile (settings.getChildFile ("Pulsaret.ini"));
    plugin->preInitialise();
    plugin->initialise();

    auto& parameters = plugin->getParameterManager();
    Panel panel (SkinImages::load (skin->getStringAttribute ("background")));

    for (auto* element : skin->getChildIterator())
    {
        auto widget = SkinWidget::create (element->getTagName(), element->getStringAttribute ("name"));

        if (widget.component == nullptr)
            continue;

        widget.controller->loadFromXml (*element, parameters, plugin->getEventNameMap(), nullptr);

        if (auto* linked = widget.controller->getParameter())
            widget.controller->updateFromParameter (linked);

        // Each widget goes below those before it: the first element is on top.
        panel.addAndMakeVisible (*widget.component, 0);
        panel.widgets.push_back (std::move (widget));
    }

    const auto snapshot = panel.createComponentSnapshot (panel.getLocalBounds());
    bool ok = writePng (snapshot, output);

    // Quarters at twice the size, for looking at the small print.
    for (int q = 0; q < 4; ++q)
    {
        const juce::Rectangle<int> quarter ((q % 2) * 395, (q / 2) * 318, 395, 318);
        ok = ok && writePng (snapshot.getClippedImage (quarter).rescaled (790, 636, juce::Graphics::lowResamplingQuality),
                             output.getSiblingFile (output.getFileNameWithoutExtension() + "-q" + juce::String (q + 1) + ".png"));
    }

    // Lit states: modes on, a muted and a soloed voice, steps with hits and accents, a playing step.
    auto set = [&parameters] (const juce::String& name, float normalised)
    {
        if (auto* p = parameters.getParameter (name))
            p->setNormalisedValue (normalised, false);
    };

    set ("Write Mode State", 1.0f);
    set ("Internal Sync State", 1.0f);
    set ("Snare Drum Mute", 1.0f);
    set ("Cymbal Solo", 1.0f);
    set ("Low Tom Rand State", 1.0f);
    set ("Toms Link Mode", 0.0f);
    set ("Pattern Name", 0.0f);
    parameters.setText (Pulsaret::patternNameUid, "Four On The Floor");

    for (int n = 1; n <= 16; ++n)
    {
        const auto nn = juce::String (n).paddedLeft ('0', 2);
        set ("Step " + nn + " State", n % 4 == 1 ? 1.0f : (n % 2 == 1 ? 0.5f : 0.0f));
        set ("Step " + nn + " Length State", n <= 12 ? 1.0f : 0.0f);
    }

    for (auto& widget : panel.widgets)
    {
        if (auto* linked = widget.controller->getParameter())
            widget.controller->updateFromParameter (linked);

        const auto name = widget.component->getName();

        if (name == "LowTomLevelKnob")
            widget.component->setVisible (false);
        else if (name.endsWith ("RandThresholdKnob") && name != "LowTomRandThresholdKnob")
            widget.component->setVisible (false);
        else if (name == "Step07Button")
            if (auto* step = dynamic_cast<GFXMultiStateButton*> (widget.component.get()))
                step->setHighlighted (true);
        if (name == "BassDrumActivityLed" || name == "MidiActivityLed")
            if (auto* light = dynamic_cast<GFXMultiStateButton*> (widget.component.get()))
                light->setStateIndex (1);
    }

    ok = ok && writePng (panel.createComponentSnapshot (panel.getLocalBounds()), output.getSiblingFile (output.getFileNameWithoutExtension() + "-lit.png"));
    panel.widgets.clear();
    plugin.reset();
    settings.deleteRecursively();

    std::cout << (ok ? "wrote " : "cannot write ") << output.getFullPathName() << "\n";
    return ok ? 0 : 1;
}
