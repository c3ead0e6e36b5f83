// The embedded panel skin, built widget by widget against a real instrument: what the
// editor looks up is there, every link and action resolves, every image has the shape
// its widget reads, and the widgets tile the background without overlapping.
#include "../TempFolder.h"
#include "drummachine/Pulsaret.h"
#include "framework/EmbeddedResources.h"
#include "gui/widgets/SkinImages.h"
#include "tools/artwork/SkinWidgetFactory.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace
{
struct BuiltWidget
{
    const juce::XmlElement* element;
    SkinWidget widget;
};

class SkinLint : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder = std::make_unique<TempFolder>();
        plugin = std::make_unique<Pulsaret>();
        plugin->setUserSettingsFile (folder->file ("Pulsaret.ini"));
        plugin->preInitialise();
        plugin->initialise();

        skin = juce::parseXML (loadXmlResource ("skin.xml"));
        ASSERT_NE (skin, nullptr);

        for (auto* element : skin->getChildIterator())
        {
            auto widget = SkinWidget::create (element->getTagName(), element->getStringAttribute ("name"));

            if (widget.controller != nullptr)
                widget.controller->loadFromXml (*element, plugin->getParameterManager(), plugin->getEventNameMap(), nullptr);

            widgets.push_back ({element, std::move (widget)});
        }
    }

    static void TearDownTestSuite()
    {
        widgets.clear();
        skin.reset();
        plugin.reset();
        folder.reset();
    }

    static juce::String tagOf (const BuiltWidget& w) { return w.element->getTagName(); }

    static inline std::unique_ptr<TempFolder> folder;
    static inline std::unique_ptr<Pulsaret> plugin;
    static inline std::unique_ptr<juce::XmlElement> skin;
    static inline std::vector<BuiltWidget> widgets;
};

const char* const trackIds[8] = {"BassDrum", "SnareDrum", "LowTom", "HiTom", "Cymbal", "OpenHiHat", "ClosedHiHat", "Accent"};

/** The frames a widget's strip holds, as the widget reads them. */
int framesOf (const juce::XmlElement& e)
{
    const auto tag = e.getTagName();
    const bool threeD = e.getStringAttribute ("style", "2D") == "3D";

    if (tag == "MultiStateButton")
        return e.getIntAttribute ("states", 2) * (threeD ? 2 : 1);

    if (tag == "ToggleButton")
        return threeD ? 4 : 2;

    auto* gfx = e.getChildByName ("gfx");
    return gfx != nullptr ? gfx->getIntAttribute ("framesNum", 1) : 1;
}
} // namespace

TEST_F (SkinLint, DocumentCountsAndTheNamesTheEditorLooksUp)
{
    EXPECT_EQ (skin->getTagName(), "PluginEditor");
    const auto background = SkinImages::load (skin->getStringAttribute ("background"));
    EXPECT_EQ (background.getBounds(), juce::Rectangle<int> (0, 0, 790, 636));

    std::map<juce::String, int> counts;
    std::map<juce::String, juce::String> tagByName;

    for (const auto& w : widgets)
    {
        ++counts[tagOf (w)];
        const auto name = w.element->getStringAttribute ("name");
        EXPECT_TRUE (tagByName.emplace (name, tagOf (w)).second) << "two widgets named " << name;
        EXPECT_NE (w.widget.controller, nullptr) << tagOf (w) << " is no top-level widget";
    }

    const std::map<juce::String, int> expected{{"Knob", 33}, {"Switch", 1}, {"Animation", 25}, {"Button", 11}, {"ToggleButton", 2}, {"MultiStateButton", 59}, {"Rocker", 1}, {"Display", 2}, {"NumericDisplay", 8}, {"PatternNumberDisplay", 1}};
    EXPECT_EQ (counts, expected);

    std::map<juce::String, juce::String> lookedUp{
        {"MidiLearnButton", "MultiStateButton"},
        {"MidiActivityLed", "Animation"},
        {"PresetNameDisplay", "Display"},
        {"PatternNumberDisplay", "PatternNumberDisplay"},
        {"PatternNameDisplay", "Display"},
        {"TempoDisplay", "NumericDisplay"},
        {"TempoKnob", "Knob"},
        {"ShuffleKnob", "Knob"},
        {"PattRandModeButton", "MultiStateButton"},
        {"PattLengthButton", "MultiStateButton"},
        {"PattPrevButton", "Button"},
        {"PattNextButton", "Button"},
    };

    for (int i = 0; i < 8; ++i)
    {
        const juce::String t (trackIds[i]);

        if (i < 7)
            lookedUp[t + "ActivityLed"] = "MultiStateButton";

        lookedUp[t + "LevelKnob"] = "Knob";
        lookedUp[t + "RandThresholdKnob"] = "Knob";
        lookedUp[t + "LevelModeLed"] = "Animation";
        lookedUp[t + "SelectButton"] = "MultiStateButton";
    }

    for (int n = 1; n <= 16; ++n)
        lookedUp["Step" + juce::String (n).paddedLeft ('0', 2) + "Button"] = "MultiStateButton";

    ASSERT_EQ (lookedUp.size(), 67u);

    for (const auto& [name, tag] : lookedUp)
        EXPECT_EQ (tagByName[name], tag) << name;

    EXPECT_EQ (tagByName.count ("AccentActivityLed"), 0u);
}

TEST_F (SkinLint, LinksAndActionsResolveAndEveryHostParameterHasAControl)
{
    const std::map<juce::String, std::set<juce::String>> actionTypes{
        {"Button", {"onClick", "onClickWithCtrl"}},
        {"MultiStateButton", {"onClick", "onClickWithCtrl"}},
        {"Rocker", {"onLessClick", "onMoreClick", "onLessClickWithCtrl", "onMoreClickWithCtrl"}},
    };
    auto& parameters = plugin->getParameterManager();
    auto& events = plugin->getEventNameMap();
    std::set<int> linkedUids;

    for (const auto& w : widgets)
    {
        const auto name = w.element->getStringAttribute ("name");

        if (auto* links = w.element->getChildByName ("links"))
        {
            for (auto* link : links->getChildIterator())
            {
                EXPECT_EQ (link->getStringAttribute ("as"), "connectedTo") << name;
                auto* p = parameters.getParameter (link->getStringAttribute ("param"));

                if (p == nullptr)
                {
                    ADD_FAILURE() << name << " links " << link->getStringAttribute ("param");
                    continue;
                }

                EXPECT_EQ (w.widget.controller->getParameter(), p) << name;
                linkedUids.insert (p->getUid());
            }
        }

        if (auto* actions = w.element->getChildByName ("actions"))
        {
            const auto known = actionTypes.find (tagOf (w));

            for (auto* action : actions->getChildIterator())
            {
                const auto type = action->getStringAttribute ("type");
                EXPECT_TRUE (known != actionTypes.end() && known->second.count (type) == 1) << name << " " << type;
                EXPECT_NE (events.getUid (action->getStringAttribute ("event")), EventNameMap::noEvent) << name << " fires " << action->getStringAttribute ("event");
            }
        }
    }

    for (int uid = 0; uid < 47; ++uid)
        EXPECT_EQ (linkedUids.count (uid), 1u) << "no control for " << parameters.getParameterName (uid);
}

TEST_F (SkinLint, ImagesHaveTheShapeTheirWidgetsRead)
{
    struct Strip
    {
        int width, height, frames;
    };

    // Frame size and count of every image, independent of what the skin's attributes say.
    const std::map<juce::String, Strip> strips{
        {"KnobSound.png", {36, 36, 64}},
        {"KnobLevel.png", {48, 48, 64}},
        {"KnobDensity.png", {48, 48, 64}},
        {"KnobMaster.png", {40, 40, 64}},
        {"SwitchTrack.png", {40, 40, 8}},
        {"ToggleLink.png", {44, 18, 2}},
        {"ArrowLeft.png", {22, 22, 2}},
        {"ArrowRight.png", {22, 22, 2}},
        {"ButtonSmall.png", {40, 20, 2}},
        {"ButtonTap.png", {80, 34, 2}},
        {"RockerShift.png", {56, 20, 3}},
        {"StepButton.png", {38, 38, 6}},
        {"LedButton.png", {40, 20, 4}},
        {"PlayButton.png", {80, 34, 4}},
        {"MuteButton.png", {38, 18, 4}},
        {"SoloButton.png", {38, 18, 4}},
        {"SelectButton.png", {80, 22, 4}},
        {"ActivityLed.png", {12, 12, 2}},
        {"LedSmall.png", {10, 10, 2}},
        {"FontLcd.png", {8, 12, 2 * 95}},
        {"DigitOut.png", {10, 16, 11}},
        {"DigitTempo.png", {14, 20, 11}},
        {"DigitTempoPoint.png", {14, 20, 11}},
        {"PatternDigit1.png", {12, 16, 12}},
        {"PatternDigit2.png", {12, 16, 19}},
        {"PatternDigit3.png", {12, 16, 13}},
        {"PatternDigit4.png", {12, 16, 11}},
    };

    // The strip's shape; returns its frame size, or an empty rectangle when it is wrong.
    auto check = [&strips] (const juce::String& logicalName, int framesRead) -> juce::Rectangle<int>
    {
        const auto image = SkinImages::load (logicalName);
        const auto found = strips.find (logicalName);

        if (!image.isValid() || found == strips.end())
        {
            ADD_FAILURE() << logicalName << " does not load or is unknown";
            return {};
        }

        const auto& s = found->second;
        EXPECT_EQ (image.getBounds(), juce::Rectangle<int> (0, 0, s.width, s.height * s.frames)) << logicalName;
        EXPECT_EQ (framesRead, s.frames) << logicalName << " read with another frame count";
        return {s.width, s.height};
    };

    for (const auto& w : widgets)
    {
        const auto& e = *w.element;
        const auto tag = tagOf (w);
        const auto size = w.widget.component->getBounds().withZeroOrigin();
        const auto name = e.getStringAttribute ("name");

        if (tag == "Display")
        {
            auto* gfx = e.getChildByName ("gfx");
            ASSERT_NE (gfx, nullptr);
            const auto cell = check (gfx->getStringAttribute ("resource"), 2 * 95);
            EXPECT_EQ (gfx->getIntAttribute ("fontHeight"), cell.getHeight()) << name;
            EXPECT_EQ (size.getWidth() % juce::jmax (1, cell.getWidth()), 0) << name << " leaves part of a cell";
        }
        else if (tag == "NumericDisplay")
        {
            auto* digits = e.getChildByName ("digits");
            ASSERT_NE (digits, nullptr);
            juce::StringArray names;

            for (auto* gfx : digits->getChildIterator())
                names.add (gfx->getStringAttribute ("resource"));

            if (names.isEmpty())
                for (int i = 0; i < e.getIntAttribute ("digitsNum"); ++i)
                    names.add (digits->getStringAttribute ("resource"));

            EXPECT_EQ (names.size(), e.getIntAttribute ("digitsNum")) << name;
            int width = 0;

            for (const auto& strip : names)
            {
                const auto cell = check (strip, 11);
                EXPECT_EQ (cell.getHeight(), size.getHeight()) << name;
                width += cell.getWidth();
            }

            EXPECT_EQ (width, size.getWidth()) << name;
        }
        else if (tag == "PatternNumberDisplay")
        {
            auto* gfx = e.getChildByName ("gfx");
            ASSERT_NE (gfx, nullptr);
            const std::pair<const char*, int> digits[4] = {{"firstDigit", 12}, {"secondDigit", 19}, {"thirdDigit", 13}, {"fourthDigit", 11}};

            for (const auto& [attribute, frames] : digits)
            {
                const auto cell = check (gfx->getStringAttribute (attribute), frames);
                EXPECT_EQ (cell.withWidth (4 * cell.getWidth()), size) << attribute;
            }
        }
        else
        {
            auto* gfx = e.getChildByName ("gfx");
            ASSERT_NE (gfx, nullptr) << name;
            EXPECT_EQ (check (gfx->getStringAttribute ("resource"), framesOf (e)), size) << name;
        }
    }
}

TEST_F (SkinLint, WidgetsLieInsideTheBackgroundWithoutOverlapping)
{
    const juce::Rectangle<int> panel (0, 0, 790, 636);

    for (size_t i = 0; i < widgets.size(); ++i)
    {
        const auto& a = *widgets[i].widget.component;
        EXPECT_FALSE (a.getBounds().isEmpty()) << a.getName();
        EXPECT_TRUE (panel.contains (a.getBounds())) << a.getName();

        for (size_t j = i + 1; j < widgets.size(); ++j)
        {
            const auto& b = *widgets[j].widget.component;

            if (!a.getBounds().intersects (b.getBounds()))
                continue;

            // A track's level knob sits above its threshold knob in the same place.
            const bool levelPair = a.getName().endsWith ("LevelKnob") && b.getName() == a.getName().replace ("LevelKnob", "RandThresholdKnob") && a.getBounds() == b.getBounds();
            EXPECT_TRUE (levelPair) << a.getName() << " overlaps " << b.getName();
        }
    }
}
