#include "drummachine/Pulsaret.h"
#include "editor/MidiControlComponent.h"
#include "editor/OldStylePresetBrowserWindow.h"
#include "editor/OptionsWindow.h"
#include "editor/PulsaretEditor.h"

#include <gtest/gtest.h>

#include "../TempFolder.h"
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

/** How many pixels of an area differ between two pictures. */
int differingPixels (const juce::Image& a, const juce::Image& b, juce::Rectangle<int> area)
{
    int n = 0;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            n += a.getPixelAt (x, y) != b.getPixelAt (x, y) ? 1 : 0;

    return n;
}

struct VstHostSession : public ::testing::Test
{
    void SetUp() override
    {
        const char* displayName = std::getenv ("PULSARET_EDITOR_DISPLAY");
        const char* plugin = std::getenv ("PULSARET_EDITOR_PLUGIN");

        if (displayName == nullptr || plugin == nullptr)
            GTEST_SKIP() << "needs the display that with_xvfb.sh provides";

        // The host closes the editor on Escape, as the hosts that grab it do.
        x = std::make_unique<X11Session> (displayName, [this]
                                          { host.dispatch (vst::EffectOpcode::editClose); });
        ASSERT_NE (x->display, nullptr);

        // The pointer rests off the host's window: no control is drawn as hovered until a test moves it.
        x->moveTo ({DisplayWidth (x->display, DefaultScreen (x->display)) - 1, DisplayHeight (x->display, DefaultScreen (x->display)) - 1});
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
        if (x != nullptr)
            x->stopHost();

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

    /** What the editor's window shows once two looks 100 ms apart agree. */
    juce::Image settledPicture (Window w) { return settledPicture (w, width, height); }

    /** What a window of a size shows once two looks 100 ms apart agree. */
    juce::Image settledPicture (Window w, int shownWidth, int shownHeight)
    {
        auto picture = x->capture (w, shownWidth, shownHeight);
        waitFor ([&]
                 {
                     std::this_thread::sleep_for (std::chrono::milliseconds (100));
                     const auto next = x->capture (w, shownWidth, shownHeight);
                     int differing = 0, varied = 0;

                     for (int py = 0; py < shownHeight; ++py)
                         for (int px = 0; px < shownWidth; ++px)
                         {
                             differing += next.getPixelAt (px, py) != picture.getPixelAt (px, py) ? 1 : 0;
                             varied += next.getPixelAt (px, py) != next.getPixelAt (0, 0) ? 1 : 0;
                         }

                     // A window not painted yet is all one colour.
                     picture = next;
                     return differing < shownWidth * shownHeight / 200 && varied > shownWidth * shownHeight / 10; },
                 10000);
        return picture;
    }

    /** What the screen shows around a point of the editor, windows over it included. */
    juce::Image around (Window w, juce::Point<int> p)
    {
        const auto at = x->onScreen (w, p);
        return x->capture (DefaultRootWindow (x->display), {at.x - 4, at.y - 4, 9, 9});
    }

    /** True when a widget that lights up by itself (the running step, a light) lies around a point. */
    bool blinksAround (juce::Point<int> p)
    {
        for (const auto& [name, widget] : skin)
            if ((widget.tag == "Animation" || name.endsWith ("Led") || name.startsWith ("Step")) && widget.bounds.intersects (juce::Rectangle<int> (p.x - 4, p.y - 4, 9, 9)))
                return true;

        return false;
    }

    /** Clicks a point of the editor once no window of ours lies over it (a lifted one, or the
        frame a window manager keeps a moment after it). */
    bool clickWhenReachable (Window w, juce::Point<int> p, bool control = false)
    {
        if (!waitFor ([&]
                      { return x->reachesHost (w, p); },
                      10000))
            return false;

        if (control)
            x->controlClick (w, p);
        else
            x->click (w, p);

        return true;
    }

    /** Clicks a point, then waits until what shows around another point changes: the click
        opened or closed what lies there. */
    bool clickAndSeeChange (Window w, juce::Point<int> at, juce::Point<int> watched, bool control = false)
    {
        const auto before = around (w, watched);
        return clickWhenReachable (w, at, control) && waitFor ([&]
                                                               { return differingPixels (around (w, watched), before, {0, 0, 9, 9}) > 0; },
                                                               10000);
    }

    /** A name display of the skin as it draws a text in its font, the caret on a cell or none. */
    juce::Image drawnDisplay (const juce::String& name, const juce::String& text, int caret)
    {
        auto root = juce::XmlDocument::parse (skinFolder().getChildFile ("skin.xml"));
        juce::XmlElement* gfx = nullptr;
        juce::Colour background;

        for (auto* e : root->getChildIterator())
            if (e->getStringAttribute ("name") == name)
            {
                gfx = e->getChildByName ("gfx");
                background = juce::Colour ((juce::uint32) e->getStringAttribute ("backgroundColour").getHexValue64());
            }

        const auto& widget = skin[name];
        const int w = widget.bounds.getWidth(), h = widget.bounds.getHeight();
        juce::Image image (juce::Image::RGB, w, h, true);
        juce::Graphics g (image);
        g.fillAll (background);

        if (gfx == nullptr)
            return image;

        const auto font = widget.strip;
        const int glyphWidth = font.getWidth(), fontHeight = gfx->getIntAttribute ("fontHeight");
        const int first = (int) gfx->getStringAttribute ("firstASCII", " ")[0];
        const int glyphs = font.getHeight() / 2 / fontHeight;
        const int cells = w / glyphWidth;

        for (int i = 0; i < cells; ++i)
        {
            const int c = i < text.length() ? (int) text[i] : ' ';
            const int glyph = juce::jlimit (first, first + glyphs - 1, c) - first;
            g.drawImage (font, (w - cells * glyphWidth) / 2 + i * glyphWidth, (h - fontHeight) / 2, glyphWidth, fontHeight, 0,
                         fontHeight * glyph + (i == caret ? glyphs * fontHeight : 0), glyphWidth, fontHeight);
        }

        return image;
    }

    /** True when the screen shows the display with the text being edited (either caret phase). */
    bool showsEdit (Window w, const juce::String& name, const juce::String& text)
    {
        const auto shown = x->capture (DefaultRootWindow (x->display), skin[name].bounds.withPosition (x->onScreen (w, skin[name].bounds.getPosition())));
        const auto matches = [&shown] (const juce::Image& drawn)
        {
            int off = 0;

            for (int py = 0; py < drawn.getHeight(); ++py)
                for (int px = 0; px < drawn.getWidth(); ++px)
                {
                    const auto a = shown.getPixelAt (px, py), b = drawn.getPixelAt (px, py);
                    off += std::abs (a.getRed() - b.getRed()) + std::abs (a.getGreen() - b.getGreen()) + std::abs (a.getBlue() - b.getBlue()) > 24 ? 1 : 0;
                }

            return off == 0;
        };

        return matches (drawnDisplay (name, text, text.length())) || matches (drawnDisplay (name, text, -1));
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
        juce::Rectangle<int> where;

        // Painted within a few refreshes.
        waitFor ([&]
                 {
                     window = x->capture (w, width, height);
                     differing = 0;
                     where = {};

                     for (int py = 0; py < height; ++py)
                         for (int px = 0; px < width; ++px)
                         {
                             if (blinking.containsPoint ({px, py}))
                                 continue;

                             const auto a = window.getPixelAt (px, py), b = headless.getPixelAt (px, py);

                             if (std::abs (a.getRed() - b.getRed()) > 2 || std::abs (a.getGreen() - b.getGreen()) > 2 || std::abs (a.getBlue() - b.getBlue()) > 2)
                             {
                                 ++differing;
                                 where = where.isEmpty() ? juce::Rectangle<int> (px, py, 1, 1) : where.getUnion ({px, py, 1, 1});
                             }
                         }

                     return differing == 0; },
                 10000);

        EXPECT_EQ (differing, 0) << "pixels unlike the headless picture in round " << round << ", within " << where.toString();

        if (differing != 0)
            savePicture (window, "host-window-unlike-round-" + juce::String (round) + ".png");

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
    settledPicture (w);

    // Write mode, the snare's track emptied, its step 5 set; the snare alone sounds. Each click
    // shows before the next.
    const auto stateOf = [&] (const juce::String& name)
    { return frameOf (w, name) / 2; };
    const auto stepsOn = [&]
    {
        juce::String on;

        for (int step = 1; step <= 16; ++step)
            if (stateOf ("Step" + juce::String (step).paddedLeft ('0', 2) + "Button") != 0)
                on << step << " ";

        return on.trimEnd();
    };
    const std::pair<const char*, std::function<bool()>> clicks[] = {
        {"WriteButton", [&]
         { return stateOf ("WriteButton") != 0; }},
        {"SnareDrumSelectButton", [&]
         { return stateOf ("SnareDrumSelectButton") != 0; }},
        {"ClearButton", [&]
         { return stepsOn().isEmpty(); }},
        {"Step05Button", [&]
         { return stepsOn() == "5"; }},
        {"SnareDrumSoloButton", [&]
         { return stateOf ("SnareDrumSoloButton") != 0; }},
    };

    for (const auto& [name, shows] : clicks)
    {
        ASSERT_TRUE (skin.count (name) == 1) << name;
        ASSERT_TRUE (clickWhenReachable (w, centreOf (name)));
        ASSERT_TRUE (waitFor (shows)) << name << ": steps " << stepsOn();
    }

    // The steps follow the host's clock, not the pattern's own tempo.
    if (stateOf ("IntSyncButton") != 0)
    {
        ASSERT_TRUE (clickWhenReachable (w, centreOf ("IntSyncButton")));
    }

    ASSERT_TRUE (waitFor ([&]
                          { return stateOf ("IntSyncButton") == 0; }));

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
        // A look each step and a third of the audio thread's way: the looks fall on every step
        // and at every phase of one.
        const auto last = audio.position.load();
        ASSERT_TRUE (waitFor ([&]
                              { return audio.position.load() - last >= samplesPerStep + samplesPerStep / 3; }));
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

        // The panel shows what it read at its last refresh, and a loaded machine may delay that
        // by a step or two.
        const int lo = (int) (before / samplesPerStep) - 2, hi = (int) (after / samplesPerStep);
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
    settledPicture (w);
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
    ASSERT_TRUE (waitFor ([&]
                          { return audio.blocks >= 20; }));
    audio.longestMs = 0.0;
    const int blocksBefore = audio.blocks;
    const auto start = std::chrono::steady_clock::now();

    for (int round = 0; round < 20; ++round)
    {
        ASSERT_NE (open(), 0u) << "round " << round;

        // Open for a few blocks, beside the audio thread.
        const int blocksOpen = audio.blocks;
        ASSERT_TRUE (waitFor ([&]
                              { return audio.blocks >= blocksOpen + 5; }));
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

} // namespace

TEST_F (VstHostSession, OptionsOpenOverThePanelAndTheDrumMapChooserNeverBlocks)
{
    if (!hasSkin())
        GTEST_SKIP() << "the panel has no skin yet";

    const auto w = open();
    ASSERT_NE (w, 0u);
    settledPicture (w);

    // The steps follow the host's transport.
    if (frameOf (w, "IntSyncButton") / 2 != 0)
    {
        ASSERT_TRUE (clickWhenReachable (w, centreOf ("IntSyncButton")));
    }

    ASSERT_TRUE (waitFor ([&]
                          { return frameOf (w, "IntSyncButton") / 2 == 0; }));
    const auto mapBefore = drumMapOf (host);
    ASSERT_TRUE (mapBefore.isNotEmpty());

    // The options window (640 x 480) opens centred over the panel.
    const auto panel = x->capture (w, width, height);
    ASSERT_TRUE (clickWhenReachable (w, centreOf ("OptionsButton")));
    const juce::Rectangle<int> options ((width - 640) / 2, (height - 480) / 2, 640, 480);
    EXPECT_TRUE (waitFor ([&]
                          { return differingPixels (panel, x->capture (w, width, height), options.reduced (20)) > 600 * 440 / 2; }));
    savePicture (settledPicture (w), "host-session-options.png");

    // The "Drum map" tab, then its "Load": the chooser opens in a window of its own, a dialog
    // of the host's window, and takes the focus that the host never hands to the editor.
    const auto load = options.getPosition() + juce::Point<int> (48, 99);
    ASSERT_TRUE (clickAndSeeChange (w, options.getPosition() + juce::Point<int> (340, 53), load));
    savePicture (settledPicture (w), "host-session-drum-map-tab.png");

    AudioThread audio (host, blockSize);
    ASSERT_TRUE (clickWhenReachable (w, load));
    ASSERT_TRUE (waitFor ([&]
                          { return x->focusIsElsewhere(); }))
        << "no chooser took the focus";
    const auto chooser = x->focus();
    Window dialogOf = 0;
    EXPECT_NE (XGetTransientForHint (x->display, chooser, &dialogOf), 0);
    EXPECT_EQ (dialogOf, x->hostWindow);
    EXPECT_TRUE (waitFor ([&]
                          { return x->isViewable (chooser); }));
    XWindowAttributes attributes{};
    ASSERT_NE (XGetWindowAttributes (x->display, chooser, &attributes), 0);
    savePicture (x->capture (chooser, attributes.width, attributes.height), "host-session-chooser.png");

    // While it is open the panel keeps showing the running step (the first and last step
    // buttons lie beside the windows) and the audio keeps its pace.
    const auto steps = skin["Step01Button"].bounds.getUnion (skin["Step16Button"].bounds);
    const auto startPosition = audio.position.load();
    auto look = x->capture (w, width, height);
    int changes = 0;
    waitFor ([&]
             {
                 const auto next = x->capture (w, width, height);
                 changes += differingPixels (look, next, steps) > 0 ? 1 : 0;
                 look = next;
                 return changes >= 2 && audio.position.load() - startPosition > (int64_t) sampleRate; },
             10000);

    EXPECT_GE (changes, 2) << "the step lights stood still while the chooser was open";
    EXPECT_GT (audio.position.load() - startPosition, (int64_t) sampleRate);

    // Escape cancels it: the window goes, the focus returns to the host's window and the map is as it was.
    x->key (XK_Escape);
    EXPECT_TRUE (waitFor ([&]
                          { return !x->isViewable (chooser) && !x->focusIsElsewhere(); }));
    EXPECT_EQ (drumMapOf (host), mapBefore);
    EXPECT_EQ (x->escapesTaken.load(), 0) << "the host took the chooser's Escape";
    EXPECT_NE (x->editorWindow(), 0u) << "the editor stays open";
}

namespace
{
/** The editor built in this process without a display, as the plug-in builds its own: where
    its controls lie on the panel, for clicks on the plug-in's copy in the host's window. */
struct HeadlessTwin
{
    HeadlessTwin()
    {
        PulsaretEditor::install();
        processor.reset (createPluginFilter());
        plugin = dynamic_cast<Pulsaret*> (processor.get());

        if (plugin == nullptr)
            return;

        plugin->preInitialise();
        plugin->initialise();
        plugin->postInitialise();
        window.reset (processor->createEditor());
        editor = dynamic_cast<PulsaretEditor*> (plugin->getEditorComponent());
    }

    juce::Point<int> centreOf (juce::Component& c) const { return window->getLocalArea (&c, c.getLocalBounds()).getCentre(); }

    /** The middle of a row of one of the panel's pattern menus, which the event opens. */
    juce::Point<int> menuRow (PopupMenuEx& menu, int event, int row)
    {
        editor->controllerEvent (nullptr, event);
        auto* level = menu.getComponent()->getWindow (0);
        int y = 0;

        while (y < level->getHeight() && level->getRowAt (y) != row)
            ++y;

        const auto at = window->getLocalPoint (level, juce::Point<int> (level->getWidth() / 2, y + PopupMenuEx::Window::rowHeight / 2));
        menu.getComponent()->hide();
        return at;
    }

    std::unique_ptr<juce::AudioProcessor> processor;
    Pulsaret* plugin = nullptr;
    std::unique_ptr<juce::AudioProcessorEditor> window; // the editor's window as the host gets it
    PulsaretEditor* editor = nullptr;
};

/** The instance's state as the host would store it, as text. */
juce::String stateOf (OfflineHost& host)
{
    const auto chunk = host.getChunk();
    auto state = BasePlugin::readStateChunk (chunk.data(), (int) chunk.size());
    return state != nullptr ? state->toString() : juce::String();
}
} // namespace

TEST_F (VstHostSession, FileChoosersTakeTypedNamesAndKeysWhileTheHostHandsItsFocusOn)
{
    if (!hasSkin())
        GTEST_SKIP() << "the panel has no skin yet";

    TempFolder temp;
    HeadlessTwin twin;
    ASSERT_NE (twin.editor, nullptr);
    auto& editor = *twin.editor;
    auto& plugin = *twin.plugin;
    auto& sequencer = *plugin.getSequencer();
    auto& browser = *editor.getPresetBrowserWindow();
    auto& options = *editor.getOptionsWindow();
    auto& tabs = options.getTabbedComponent();

    struct Click
    {
        juce::Point<int> at;
        bool control = false;
        bool closes = false; // what the point lies on goes away
    };

    const auto savePatterns = twin.menuRow (editor.getSaveMenu(), DrumMachine::savePatternsEvent, 0);
    const auto savePatternBank = twin.menuRow (editor.getSaveMenu(), DrumMachine::savePatternsEvent, 1);
    const Click patternsMenu{centreOf ("PattNextButton"), true};
    browser.show();
    const Click openBrowser{centreOf ("PresetBrowseButton")}, presetSave{twin.centreOf (browser.getPresetSaveButton())},
        bankSave{twin.centreOf (browser.getBankSaveButton())}, presetLoad{twin.centreOf (browser.getPresetLoadButton())},
        closeBrowser{twin.centreOf (browser.getCloseButton()), false, true};
    browser.hide();
    options.show();
    const int midiTab = tabs.getTabNames().indexOf ("Midi Control");
    ASSERT_GE (midiTab, 0);
    tabs.setCurrentTabIndex (midiTab);
    const Click openOptions{centreOf ("OptionsButton")}, midiPage{twin.centreOf (*tabs.getTabbedButtonBar().getTabButton (midiTab))},
        mapSave{twin.centreOf (*editor.getMidiControlComponent()->getImageButton ("Save Map"))},
        closeOptions{twin.centreOf (options.getCloseButton()), false, true};
    options.hide();

    AudioThread audio (host, blockSize);
    const auto w = open();
    ASSERT_NE (w, 0u);
    settledPicture (w);

    // One click after the other, each once the one before has opened what it lies on.
    const auto clickAll = [&] (const std::vector<Click>& clicks)
    {
        for (size_t i = 0; i < clicks.size(); ++i)
        {
            const auto& c = clicks[i];
            const bool next = i + 1 < clicks.size();
            const auto watched = next ? clicks[i + 1].at : c.at;

            if (!next && !c.closes)
            {
                if (clickWhenReachable (w, c.at, c.control))
                    continue;

                ADD_FAILURE() << "click " << i << " never reached the editor: " << x->describeWindows();
                return false;
            }

            // Later points lie on what the first click opened, over the panel's lights.
            if (i == 0 && blinksAround (watched))
            {
                ADD_FAILURE() << "click " << i << ": a light would pass for what it opens";
                return false;
            }

            if (!clickAndSeeChange (w, c.at, watched, c.control))
            {
                ADD_FAILURE() << "click " << i << " opened or closed nothing: " << x->describeWindows();
                return false;
            }
        }

        return true;
    };

    // Opens a chooser; true once it holds the focus with the keys in its name box.
    const auto openChooser = [&] (const std::vector<Click>& clicks)
    {
        if (!clickAll (clicks))
            return false;

        // The chooser puts the keys in its name box as the window system gives it the focus:
        // whatever is typed from then on goes there.
        return waitFor ([&]
                        { return x->focusIsElsewhere(); },
                        10000);
    };

    // A path typed into a Load chooser: the preset in it loads, and from then on the choosers
    // open in its folder, where the test keeps its files.
    for (const char* name : {"Alpha", "Beta", "Gamma"})
    {
        plugin.setPresetName (0, name);
        ASSERT_TRUE (plugin.savePresetFile (temp.file (juce::String (name).toLowerCase() + plugin.getPresetFileExtension()), 0));
    }

    ASSERT_TRUE (openChooser ({openBrowser, presetLoad}));
    x->type (temp.file ("gamma" + plugin.getPresetFileExtension()).getFullPathName());
    x->key (XK_Return); // the chooser goes to the file
    x->key (XK_Return); // and opens it
    ASSERT_TRUE (waitFor ([&]
                          { return stateOf (host).contains ("\"Gamma\""); }));

    // It opens again there; a click in its list, then two steps down.
    ASSERT_TRUE (openChooser ({presetLoad}));
    const auto chooserWindow = x->focus();
    XWindowAttributes attributes{};

    // Once it has its size and is drawn: before that its list may not yet lie where it will.
    ASSERT_TRUE (waitFor ([&]
                          {
                              XWindowAttributes before{};
                              XGetWindowAttributes (x->display, chooserWindow, &before);
                              settledPicture (chooserWindow, before.width, before.height);
                              XGetWindowAttributes (x->display, chooserWindow, &attributes);
                              return attributes.map_state == IsViewable && attributes.width == before.width && attributes.height == before.height; }));
    x->click (chooserWindow, {attributes.width / 2, attributes.height / 2});
    x->key (XK_Down);
    x->key (XK_Down);
    x->key (XK_Return);
    EXPECT_TRUE (waitFor ([&]
                          { return stateOf (host).contains ("\"Beta\""); }))
        << "the second preset of the list";
    EXPECT_FALSE (stateOf (host).contains ("\"Gamma\""));
    ASSERT_TRUE (clickAll ({closeBrowser}));

    struct SaveChooser
    {
        const char* name;
        std::vector<Click> open;
        juce::String extension;
        std::function<bool (const juce::File&)> loadsBack;
        std::vector<Click> close;
    };

    const SaveChooser saveChoosers[] = {
        {"pattern", {patternsMenu, {savePatterns}}, sequencer.getPatternFileExtension(), [&] (const juce::File& f)
         { return sequencer.loadPatternFile (0, f); }, {}},
        {"pattern bank", {patternsMenu, {savePatternBank}}, sequencer.getPatternBankFileExtension(), [&] (const juce::File& f)
         { return sequencer.loadPatternBankFile (f); }, {}},
        {"preset", {openBrowser, presetSave}, plugin.getPresetFileExtension(), [&] (const juce::File& f)
         { return plugin.loadPresetFile (f, 0); }, {}},
        {"preset bank", {bankSave}, plugin.getBankFileExtension(), [&] (const juce::File& f)
         { return plugin.loadBankFile (f); }, {closeBrowser}},
        {"MIDI map", {openOptions, midiPage, mapSave}, plugin.getMidiMapFileExtension(), [&] (const juce::File& f)
         { return plugin.getMidiControl().loadMapFile (f); }, {closeOptions}},
    };

    for (const auto& chooser : saveChoosers)
    {
        SCOPED_TRACE (chooser.name);
        ASSERT_TRUE (openChooser (chooser.open)) << "no chooser took the focus";

        const juce::String typed = juce::String ("New ") + chooser.name;
        x->type (typed);
        x->key (XK_Return);
        const auto file = temp.file (typed + chooser.extension);
        EXPECT_TRUE (waitFor ([&]
                              { return file.existsAsFile(); }))
            << file.getFullPathName();
        EXPECT_TRUE (chooser.loadsBack (file));
        EXPECT_TRUE (waitFor ([&]
                              { return !x->focusIsElsewhere(); }))
            << "the focus went back to the host";
        ASSERT_TRUE (clickAll (chooser.close));
    }

    EXPECT_GT (x->focusHandedOn.load(), 0) << "the host never handed the focus to the editor's window";
    EXPECT_EQ (x->escapesTaken.load(), 0) << "an Escape for a chooser reached the host";
}

namespace
{
/** The window that holds the keyboard focus when it is a top-level window of its own, mapped,
    outside the host's window: a lifted name editor or a chooser. 0 otherwise. */
Window liftedWindowWithFocus (X11Session& x)
{
    const auto f = x.focus();
    return x.focusIsElsewhere() && x.isViewable (f) ? f : 0;
}
} // namespace

TEST_F (VstHostSession, EveryNameEditTakesTheKeysAndEndsWithTheEditor)
{
    if (!hasSkin())
        GTEST_SKIP() << "the panel has no skin yet";

    TempFolder temp;
    HeadlessTwin twin;
    ASSERT_NE (twin.editor, nullptr);
    auto& browser = *twin.editor->getPresetBrowserWindow();
    const auto openBrowser = centreOf ("PresetBrowseButton");
    browser.show();
    const auto closeBrowser = twin.centreOf (browser.getCloseButton());
    const auto presetSave = twin.centreOf (browser.getPresetSaveButton());
    auto* presets = browser.getBrowser().getPresetColumn();
    ASSERT_NE (presets, nullptr);
    std::vector<juce::Point<int>> presetRows;

    for (int row = 0; row < 4; ++row)
    {
        auto* item = presets->getItemComponent (row);
        ASSERT_NE (item, nullptr) << "row " << row;
        presetRows.push_back (twin.centreOf (item->getLabel()));
    }

    browser.hide();

    auto w = open();
    ASSERT_NE (w, 0u);

    // Write mode on: the pattern name can be edited then.
    ASSERT_TRUE (clickWhenReachable (w, centreOf ("WriteButton")));
    ASSERT_TRUE (waitFor ([&]
                          { return frameOf (w, "WriteButton") / 2 != 0; }));

    // Clicked, the display lifts into a window of its own exactly over itself, which takes the
    // keys; the typed text arrives once Return is pressed. Every time, also straight after the
    // edit before.
    const auto editName = [&] (const juce::String& display, const juce::String& keep, const juce::String& typed, int erase)
    {
        SCOPED_TRACE ((display + " " + typed).toStdString());
        const auto place = x->onScreen (w, skin[display].bounds.getPosition());
        EXPECT_TRUE (waitFor ([&]
                              { return x->reachesHost (w, skin[display].bounds.getCentre()); }))
            << "the last lifted window is gone";
        x->click (w, skin[display].bounds.getCentre());
        Window lifted = 0;

        if (!waitFor ([&]
                      { return (lifted = liftedWindowWithFocus (*x)) != 0 && x->onScreen (lifted, {}) == place; },
                      10000))
        {
            ADD_FAILURE() << "no window exactly over the display took the focus: " << x->describeWindows() << "; " << (int) lifted << " at "
                          << x->onScreen (lifted, {}).toString() << ", the display at " << place.toString();
            return false;
        }

        for (int i = 0; i < erase; ++i)
            x->key (XK_BackSpace);

        x->type (typed);
        x->key (XK_Return);

        if (!waitFor ([&]
                      { return stateOf (host).contains ("\"" + keep + typed + "\""); },
                      10000))
        {
            ADD_FAILURE() << "the typed name did not arrive: " << stateOf (host).substring (0, 600);
            return false;
        }

        return true;
    };

    int failures = 0;

    for (const char* display : {"PresetNameDisplay", "PatternNameDisplay"})
        for (int round = 0; round < 50 && failures < 3; ++round)
            failures += editName (display, {}, "N" + juce::String (round).paddedLeft ('0', 2), round == 0 ? 40 : 3) ? 0 : 1;

    // Escape cancels the edit and never reaches the host, which would close the editor on it.
    ASSERT_TRUE (clickWhenReachable (w, centreOf ("PresetNameDisplay")));
    ASSERT_TRUE (waitFor ([&]
                          { return liftedWindowWithFocus (*x) != 0; },
                          10000))
        << x->describeWindows();
    const auto cancelled = liftedWindowWithFocus (*x);
    x->type ("ZZ");

    // The picture as the musician sees it, the lifted window over the panel, once it shows text.
    {
        const auto origin = x->onScreen (w, {});
        const auto displayArea = skin["PresetNameDisplay"].bounds;
        juce::Image screen;
        waitFor ([&]
                 {
                     screen = x->capture (DefaultRootWindow (x->display), origin.x + width, origin.y + height)
                                  .getClippedImage ({origin.x, origin.y, width, height});
                     const auto shown = screen.getClippedImage (displayArea);
                     int varied = 0;

                     for (int py = 0; py < shown.getHeight(); ++py)
                         for (int px = 0; px < shown.getWidth(); ++px)
                             varied += shown.getPixelAt (px, py) != shown.getPixelAt (0, 0) ? 1 : 0;

                     return varied > 20; });
        savePicture (screen, "host-session-name-edit.png");
    }

    x->key (XK_Escape);
    EXPECT_TRUE (waitFor ([&]
                          { return !x->isViewable (cancelled); }));
    EXPECT_EQ (x->escapesTaken.load(), 0);
    EXPECT_NE (x->editorWindow(), 0u) << "the editor stays open";
    EXPECT_FALSE (stateOf (host).contains ("N49ZZ"));

    // The host closes the editor during a name edit: the typed text counts, no window stays.
    ASSERT_TRUE (clickWhenReachable (w, centreOf ("PresetNameDisplay")));
    ASSERT_TRUE (waitFor ([&]
                          { return liftedWindowWithFocus (*x) != 0; },
                          10000))
        << x->describeWindows();
    const auto orphan = liftedWindowWithFocus (*x);
    x->type ("Q");
    ASSERT_TRUE (waitFor ([&]
                          { return showsEdit (w, "PresetNameDisplay", "N49Q"); }))
        << "the lifted display shows what was typed";
    ASSERT_TRUE (close());
    EXPECT_TRUE (waitFor ([&]
                          { return !x->isViewable (orphan); }))
        << "the lifted window went with the editor";
    EXPECT_TRUE (waitFor ([&]
                          { return stateOf (host).contains ("N49Q\""); }))
        << "the typed text was committed";
    w = open();
    ASSERT_NE (w, 0u);

    // The browser's rename: a double click on a row, a new name over the old one, Return.
    ASSERT_TRUE (clickAndSeeChange (w, openBrowser, presetRows[0]));

    for (int round = 0; round < 20 && failures < 3; ++round)
    {
        const juce::String name = "R" + juce::String (round).paddedLeft ('0', 2);
        SCOPED_TRACE (name.toStdString());
        const auto row = presetRows[(size_t) (round % (int) presetRows.size())];
        EXPECT_TRUE (waitFor ([&]
                              { return x->reachesHost (w, row); }))
            << "the last rename field is gone";
        x->doubleClick (w, row);

        if (!waitFor ([&]
                      { return liftedWindowWithFocus (*x) != 0; },
                      10000))
        {
            ADD_FAILURE() << "no rename field took the focus: " << x->describeWindows();
            ++failures;
            continue;
        }

        x->type (name);

        if (round == 0)
            savePicture (x->capture (DefaultRootWindow (x->display), juce::Rectangle<int> (width, height).withPosition (x->onScreen (w, {}))),
                         "host-session-rename.png");

        x->key (XK_Return);

        if (!waitFor ([&]
                      { return stateOf (host).contains ("\"" + name + "\""); },
                      10000))
        {
            ADD_FAILURE() << "the new name did not arrive";
            ++failures;
        }
    }

    EXPECT_EQ (failures, 0);

    // Then during a Save chooser: it goes as if cancelled and writes nothing.
    ASSERT_TRUE (clickWhenReachable (w, presetSave));
    ASSERT_TRUE (waitFor ([&]
                          { return liftedWindowWithFocus (*x) != 0; },
                          10000))
        << "no chooser took the focus: " << x->describeWindows();
    auto chooser = liftedWindowWithFocus (*x);
    const auto unsaved = temp.file ("Unsaved" + twin.plugin->getPresetFileExtension());
    x->type (unsaved.getFullPathName());
    ASSERT_TRUE (close());
    EXPECT_TRUE (waitFor ([&]
                          { return !x->isViewable (chooser); }))
        << "the chooser went with the editor";

    // And with its question about replacing a file open: the question goes with the editor
    // and is not waiting inside it when it opens again; the file stays as it was.
    const auto existing = temp.file ("Existing" + twin.plugin->getPresetFileExtension());
    ASSERT_TRUE (existing.replaceWithText ("kept"));
    w = open();
    ASSERT_NE (w, 0u);
    ASSERT_TRUE (clickAndSeeChange (w, openBrowser, presetSave));
    const auto withBrowser = settledPicture (w);
    ASSERT_TRUE (clickWhenReachable (w, presetSave));
    ASSERT_TRUE (waitFor ([&]
                          { return liftedWindowWithFocus (*x) != 0; },
                          10000))
        << x->describeWindows();
    chooser = liftedWindowWithFocus (*x);
    x->type (existing.getFullPathName());
    x->key (XK_Return); // the chooser goes to the file
    x->key (XK_Return); // and takes it
    const auto panelArea = juce::Rectangle<int> (0, 0, width, height);
    EXPECT_TRUE (waitFor ([&]
                          { return !x->isViewable (chooser) && differingPixels (withBrowser, x->capture (w, width, height), panelArea) > width * height / 2; },
                          10000))
        << "the question dims the editor";
    ASSERT_TRUE (close());
    w = open();
    ASSERT_NE (w, 0u);
    ASSERT_TRUE (clickAndSeeChange (w, openBrowser, presetSave));
    EXPECT_LT (differingPixels (withBrowser, settledPicture (w), panelArea), width * height / 50) << "no question left in the editor";
    EXPECT_FALSE (unsaved.exists());
    EXPECT_EQ (existing.loadFileAsString(), "kept");
    EXPECT_EQ (x->escapesTaken.load(), 0);

    // The host deletes the instance with a name edit open, then with a chooser open: the
    // windows go with it (the sanitizer build checks that nothing is touched afterwards).
    const auto unloadWith = [&] (const std::vector<juce::Point<int>>& clicks)
    {
        for (const auto& c : clicks)
            ASSERT_TRUE (clickWhenReachable (w, c));

        ASSERT_TRUE (waitFor ([&]
                              { return liftedWindowWithFocus (*x) != 0; },
                              10000))
            << x->describeWindows();
        const auto lifted = liftedWindowWithFocus (*x);
        host.unload();
        EXPECT_TRUE (waitFor ([&]
                              { return !x->isViewable (lifted); }));
        ASSERT_TRUE (host.load (std::getenv ("PULSARET_EDITOR_PLUGIN"))) << host.getError();
        host.start (sampleRate, blockSize);
        w = open();
        ASSERT_NE (w, 0u);
    };

    ASSERT_TRUE (clickAndSeeChange (w, closeBrowser, closeBrowser));
    unloadWith ({centreOf ("PresetNameDisplay")});
    ASSERT_TRUE (clickAndSeeChange (w, openBrowser, presetSave));
    unloadWith ({presetSave});
}
