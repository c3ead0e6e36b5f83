#include "drummachine/Pulsaret.h"
#include "editor/PulsaretEditor.h"

#include <gtest/gtest.h>

#include "HostSessionSupport.h"
#include "tests/MessagePump.h"

#include <cstdio>

// The real plug-in in our offline host with its editor in an X11 window, driven through XTest.
// Runs only under with_xvfb.sh, which provides the display and names the plug-in.
using namespace hostsession;

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr int samplesPerStep = 6000; // a 16th at the host's 120 BPM

/** The panel as an instance draws it with no display at all, for comparison with the window. */
juce::Image headlessPanel()
{
    PulsaretEditor::install();
    std::unique_ptr<juce::AudioProcessor> processor (createPluginFilter());
    auto* plugin = dynamic_cast<BasePlugin*> (processor.get());

    if (plugin == nullptr)
        return {};

    plugin->preInitialise();
    plugin->initialise();
    plugin->postInitialise();
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor->createEditor());

    // The widgets show their parameters from the first change messages and refreshes on.
    for (int i = 0; i < 30; ++i)
    {
        pumpPendingMessages();
        juce::Thread::sleep (10);
    }

    return editor != nullptr ? editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f) : juce::Image();
}

void savePicture (const juce::Image& image, const juce::String& name)
{
    auto file = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("pulsaret-snapshots").getChildFile (name);
    file.getParentDirectory().createDirectory();
    file.deleteFile();
    juce::FileOutputStream out (file);
    juce::PNGImageFormat().writeImageToStream (image, out);
}

struct VstHostSession : public ::testing::Test
{
    void SetUp() override
    {
        const char* displayName = std::getenv ("PULSARET_EDITOR_DISPLAY");
        const char* plugin = std::getenv ("PULSARET_EDITOR_PLUGIN");

        if (displayName == nullptr || plugin == nullptr)
            GTEST_SKIP() << "needs the display that with_xvfb.sh provides";

        x = std::make_unique<X11Session> (displayName);
        ASSERT_NE (x->display, nullptr);
        ASSERT_TRUE (host.load (plugin)) << host.getError();
        host.start (sampleRate, blockSize);

        vst::ERect* rect = nullptr;
        ASSERT_EQ (host.dispatch (vst::EffectOpcode::editGetRect, 0, 0, &rect), 1);
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
        skin = readSkin();
        background = juce::ImageFileFormat::loadFrom (skinFolder().getChildFile ("Background.png"));
    }

    void TearDown() override
    {
        if (host.getEffect() != nullptr)
            host.dispatch (vst::EffectOpcode::editClose);

        host.unload();
    }

    /** The skinned panel is in the library (790 x 636 and the 16-pixel status bar). */
    bool hasSkin() const { return !skin.empty() && background.isValid() && width == 790 && height == 652; }

    /** Opens the editor in our window; the editor's window, or 0. */
    Window open()
    {
        if (host.dispatch (vst::EffectOpcode::editOpen, 0, 0, reinterpret_cast<void*> ((uintptr_t) x->hostWindow)) != 1)
            return 0;

        // The first opening in a process also starts the toolkit's desktop: give it time on a loaded machine.
        Window w = 0;
        waitFor ([&]
                 { return (w = x->editorWindow()) != 0; },
                 15000);
        return w;
    }

    bool close()
    {
        host.dispatch (vst::EffectOpcode::editClose);
        return waitFor ([&]
                        { return x->editorWindow() == 0; });
    }

    juce::Point<int> centreOf (const juce::String& name) { return skin[name].bounds.getCentre(); }

    /** The frame a widget shows once it stops changing. */
    int frameOf (Window w, const juce::String& name)
    {
        return shownFrame (skin[name], x->capture (w, width, height), background);
    }

    std::unique_ptr<X11Session> x;
    OfflineHost host;
    int width = 0, height = 0;
    std::map<juce::String, SkinWidget> skin;
    juce::Image background;
};

/** The first sample of any output louder than a trace, or -1. */
int64_t firstSound (const std::vector<std::vector<float>>& out, int64_t from = 0)
{
    for (int64_t i = from; !out.empty() && i < (int64_t) out[0].size(); ++i)
        for (const auto& channel : out)
            if (std::abs (channel[(size_t) i]) > 1.0e-4f)
                return i;

    return -1;
}
} // namespace

TEST_F (VstHostSession, OpensAndClosesThreeTimesAndLooksAsDrawnWithoutDisplay)
{
    const auto headless = headlessPanel();
    ASSERT_TRUE (headless.isValid());
    ASSERT_EQ (headless.getWidth(), width);
    ASSERT_EQ (headless.getHeight(), height);

    // Lights may blink or flash between the two pictures: their rectangles are left out.
    juce::RectangleList<int> blinking;

    for (const auto& [name, widget] : skin)
        if (widget.tag == "Animation" || name.endsWith ("Led"))
            blinking.add (widget.bounds);

    for (int round = 0; round < 3; ++round)
    {
        const auto w = open();
        ASSERT_NE (w, 0u);
        int shownWidth = 0, shownHeight = 0;
        x->editorWindow (&shownWidth, &shownHeight);
        EXPECT_EQ (shownWidth, width);
        EXPECT_EQ (shownHeight, height);

        juce::Image window;
        int differing = 0;

        // Painted within a few refreshes.
        waitFor ([&]
                 {
                     window = x->capture (w, width, height);
                     differing = 0;

                     for (int py = 0; py < height; ++py)
                         for (int px = 0; px < width; ++px)
                         {
                             if (blinking.containsPoint ({px, py}))
                                 continue;

                             const auto a = window.getPixelAt (px, py), b = headless.getPixelAt (px, py);

                             if (std::abs (a.getRed() - b.getRed()) > 2 || std::abs (a.getGreen() - b.getGreen()) > 2 || std::abs (a.getBlue() - b.getBlue()) > 2)
                                 ++differing;
                         }

                     return differing == 0; },
                 3000);

        EXPECT_EQ (differing, 0) << "pixels unlike the headless picture in round " << round;

        if (round == 0)
        {
            savePicture (window, "host-window.png");
            savePicture (headless, "headless-panel.png");
        }

        ASSERT_TRUE (close());
    }
}

TEST_F (VstHostSession, StepWrittenOnThePanelPlaysOnItsSampleAndTheChaseLightFollows)
{
    ASSERT_TRUE (hasSkin()) << "the library's panel is skinned, " << width << " x " << height;

    const auto w = open();
    ASSERT_NE (w, 0u);
    std::this_thread::sleep_for (std::chrono::milliseconds (300));

    // Write mode, the snare's track emptied, its step 5 set; the snare alone sounds.
    for (const char* name : {"WriteButton", "SnareDrumSelectButton", "ClearButton", "Step05Button", "SnareDrumSoloButton"})
    {
        ASSERT_TRUE (skin.count (name) == 1) << name;
        x->click (w, centreOf (name));
        std::this_thread::sleep_for (std::chrono::milliseconds (150));
    }

    // The steps follow the host's clock, not the pattern's own tempo.
    if (frameOf (w, "IntSyncButton") / 2 != 0)
        x->click (w, centreOf ("IntSyncButton"));

    std::this_thread::sleep_for (std::chrono::milliseconds (150));
    ASSERT_EQ (frameOf (w, "IntSyncButton") / 2, 0);

    OfflineHost::Transport transport;
    transport.playing = {{0, 2 * 16 * samplesPerStep}};
    const auto out = host.render (16 * samplesPerStep, blockSize, {}, transport);
    const auto onset = firstSound (out);
    EXPECT_GE (onset, 4 * samplesPerStep);
    EXPECT_LE (onset, 4 * samplesPerStep + 2) << "the snare strikes on step 5's first sample";

    // No other strike: from step 5 on, each step is quieter than the one before (the tail).
    float previousPeak = 1.0e9f;

    for (int step = 4; step < 16; ++step)
    {
        float peak = 0.0f;

        for (const auto& channel : out)
            for (int i = step * samplesPerStep; i < (step + 1) * samplesPerStep; ++i)
                peak = std::max (peak, std::abs (channel[(size_t) i]));

        EXPECT_LE (peak, previousPeak) << "step " << step + 1;
        previousPeak = peak;
    }

    // While the transport plays, exactly the playing step's button shows the opposite of its state.
    const auto stepShowsHighlight = [&] (const juce::Image& picture, int step)
    {
        const auto name = juce::String ("Step") + juce::String (step + 1).paddedLeft ('0', 2) + "Button";
        const int state = shownFrame (skin[name], picture, background) / 2;
        return step == 4 ? state == 0 : state != 0;
    };

    AudioThread audio (host, blockSize);
    int checked = 0;

    for (int look = 0; look < 12; ++look)
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (170));
        const auto before = audio.position.load();
        const auto picture = x->capture (w, width, height);
        const auto after = audio.position.load();

        std::vector<int> highlighted;

        for (int step = 0; step < 16; ++step)
            if (stepShowsHighlight (picture, step))
                highlighted.push_back (step);

        // Captured while a repaint moved the light: look again.
        if (highlighted.size() != 1)
            continue;

        const int lo = (int) (before / samplesPerStep) - 1, hi = (int) (after / samplesPerStep);
        bool near = false;

        for (int s = lo; s <= hi; ++s)
            near = near || (s + 16) % 16 == highlighted[0];

        EXPECT_TRUE (near) << "light on step " << highlighted[0] + 1 << " while steps " << lo + 1 << " to " << hi + 1 << " played";
        ++checked;
    }

    EXPECT_GE (checked, 9) << "most looks find exactly one light";
}

TEST_F (VstHostSession, KnobDragIsOneGestureAndTheHostMovesTheKnob)
{
    ASSERT_TRUE (hasSkin()) << "the library's panel is skinned, " << width << " x " << height;

    const auto w = open();
    ASSERT_NE (w, 0u);
    std::this_thread::sleep_for (std::chrono::milliseconds (300));
    host.clearGestures();

    const auto knob = centreOf ("BassDrumLevelKnob");
    x->drag (w, knob, knob - juce::Point<int> (0, 60), 12);
    ASSERT_TRUE (waitFor ([&]
                          {
                              const auto g = host.getGestures();
                              return !g.empty() && g.back().kind == OfflineHost::Gesture::endEdit; }));

    const auto gestures = host.getGestures();
    ASSERT_GE (gestures.size(), 4u);
    EXPECT_EQ (gestures.front().kind, OfflineHost::Gesture::beginEdit);
    float last = 0.5f; // the level's default

    for (size_t i = 1; i + 1 < gestures.size(); ++i)
    {
        EXPECT_EQ (gestures[i].kind, OfflineHost::Gesture::automate);
        EXPECT_GT (gestures[i].value, last - 1.0e-6f) << "values rise as the knob goes up";
        last = gestures[i].value;
    }

    EXPECT_GT (last, 0.6f);

    for (const auto& g : gestures)
        EXPECT_EQ (g.index, 0);

    // The host's own changes move the knob's picture, end to end.
    for (const auto& [value, frame] : {std::pair<float, int> (0.0f, 0), {1.0f, skin["BassDrumLevelKnob"].frames - 1}})
    {
        host.setParameter (0, value);
        int shown = -1;
        EXPECT_TRUE (waitFor ([&]
                              { return (shown = frameOf (w, "BassDrumLevelKnob")) == frame; }))
            << "value " << value << " shows frame " << shown;
    }
}

TEST_F (VstHostSession, OpeningAndClosingBesideTheAudioThreadNeverHoldsItUp)
{
    AudioThread audio (host, blockSize);
    std::this_thread::sleep_for (std::chrono::milliseconds (200));
    audio.longestMs = 0.0;
    const int blocksBefore = audio.blocks;
    const auto start = std::chrono::steady_clock::now();

    for (int round = 0; round < 20; ++round)
    {
        ASSERT_NE (open(), 0u) << "round " << round;
        std::this_thread::sleep_for (std::chrono::milliseconds (50));
        ASSERT_TRUE (close()) << "round " << round;
    }

    const double seconds = std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();
    const double blockMs = 1000.0 * blockSize / sampleRate;
    std::printf ("[ host session ] longest audio callback while the editor opened and closed 20 times: %.2f ms (block %.2f ms)\n",
                 audio.longestMs.load(), blockMs);

    // The audio thread kept its pace throughout (no callback waited out the GUI).
    EXPECT_GE (audio.blocks - blocksBefore, (int) (0.8 * seconds * 1000.0 / blockMs));
}

namespace
{
/** The drum map the instance would store in the host's project. */
juce::String drumMapOf (OfflineHost& host)
{
    const auto chunk = host.getChunk();
    auto state = BasePlugin::readStateChunk (chunk.data(), (int) chunk.size());
    auto* map = state != nullptr ? state->getChildByName ("DrumMap") : nullptr;
    return map != nullptr ? map->toString() : juce::String();
}

/** How many pixels of an area differ between two pictures. */
int differingPixels (const juce::Image& a, const juce::Image& b, juce::Rectangle<int> area)
{
    int n = 0;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            n += a.getPixelAt (x, y) != b.getPixelAt (x, y) ? 1 : 0;

    return n;
}
} // namespace

TEST_F (VstHostSession, OptionsOpenOverThePanelAndTheDrumMapChooserNeverBlocks)
{
    if (!hasSkin())
        GTEST_SKIP() << "the panel has no skin yet";

    const auto w = open();
    ASSERT_NE (w, 0u);
    std::this_thread::sleep_for (std::chrono::milliseconds (300));

    // The steps follow the host's transport.
    if (frameOf (w, "IntSyncButton") / 2 != 0)
        x->click (w, centreOf ("IntSyncButton"));

    const auto mapBefore = drumMapOf (host);
    ASSERT_TRUE (mapBefore.isNotEmpty());

    // The options window (640 x 480) opens centred over the panel.
    const auto panel = x->capture (w, width, height);
    x->click (w, centreOf ("OptionsButton"));
    std::this_thread::sleep_for (std::chrono::milliseconds (300));
    const juce::Rectangle<int> options ((width - 640) / 2, (height - 480) / 2, 640, 480);
    auto shown = x->capture (w, width, height);
    EXPECT_GT (differingPixels (panel, shown, options.reduced (20)), 600 * 440 / 2);
    savePicture (shown, "host-session-options.png");

    // The "Drum map" tab, then its "Load": JUCE's own chooser opens inside the editor.
    x->click (w, options.getPosition() + juce::Point<int> (340, 53));
    std::this_thread::sleep_for (std::chrono::milliseconds (300));
    const auto drumMapTab = x->capture (w, width, height);
    savePicture (drumMapTab, "host-session-drum-map-tab.png");

    AudioThread audio (host, blockSize);
    x->click (w, options.getPosition() + juce::Point<int> (48, 99));
    std::this_thread::sleep_for (std::chrono::milliseconds (500));
    const juce::Rectangle<int> dialog ((width - 600) / 2, (height - 500) / 2, 600, 500);
    const auto withChooser = x->capture (w, width, height);
    savePicture (withChooser, "host-session-chooser.png");
    ASSERT_GT (differingPixels (drumMapTab, withChooser, dialog.reduced (40)), 400 * 300 / 2) << "no chooser showed";

    // While it is open the panel keeps showing the running step (the first and last step
    // buttons lie beside the windows) and the audio keeps its pace.
    const auto steps = skin["Step01Button"].bounds.getUnion (skin["Step16Button"].bounds);
    juce::Array<juce::Image> looks;
    const auto startPosition = audio.position.load();

    for (int look = 0; look < 40; ++look)
    {
        looks.add (x->capture (w, width, height));
        std::this_thread::sleep_for (std::chrono::milliseconds (60));
    }

    int changes = 0;

    for (int i = 1; i < looks.size(); ++i)
        changes += differingPixels (looks[i - 1], looks[i], steps) > 0 ? 1 : 0;

    EXPECT_GE (changes, 2) << "the step lights stood still while the chooser was open";
    EXPECT_GT (audio.position.load() - startPosition, (int64_t) sampleRate);

    // Cancel closes it; the options page shows again and the map is as it was.
    const juce::Point<int> cancel (dialog.getRight() - 16 - 72 - 16 - 33, dialog.getBottom() - 23);
    x->click (w, cancel);
    std::this_thread::sleep_for (std::chrono::milliseconds (400));
    const auto closed = x->capture (w, width, height);
    savePicture (closed, "host-session-chooser-closed.png");
    // (A few pixels may differ where the pointer or focus left a mark.)
    EXPECT_LT (differingPixels (drumMapTab, closed, dialog.reduced (40)), 400);
    EXPECT_EQ (drumMapOf (host), mapBefore);
}
