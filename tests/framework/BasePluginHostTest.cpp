#include "TestPlugin.h"

#include "framework/AudioProcessorEditorWrapper.h"

#include <gtest/gtest.h>

namespace
{
struct HostRecorder : public juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        changes.push_back ({ index, value });
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override { gestures.push_back (index + 1000); }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override { gestures.push_back (index + 2000); }

    std::vector<std::pair<int, float>> changes;
    std::vector<int> gestures;
};

/** Stands for the objects an editor watches, such as the engine and the sequencer. */
struct Watched
{
    bool alive = true;
};

struct TestEditor : public PluginEditorComponent
{
    explicit TestEditor (Watched& w)
        : watched (w)
    {
        setSize (320, 200);
    }

    ~TestEditor() override { destroyedWhileWatchedAlive = watched.alive; }

    void createDefaultControls() override { ++defaultControls; }
    void startRefreshTimer (int interval) override { timerInterval = interval; }
    void stopRefreshTimer() override { timerInterval = 0; }

    Watched& watched;
    int defaultControls = 0;
    int timerInterval = 0;
    static inline bool destroyedWhileWatchedAlive = false;
};

class EditorPlugin : public TestPlugin
{
public:
    EditorPlugin() { watched = std::make_unique<Watched>(); }

    ~EditorPlugin() override
    {
        deleteEditorComponent();
        watched->alive = false;
    }

    std::unique_ptr<PluginEditorComponent> createEditorComponent() override
    {
        ++editorsCreated;
        return std::make_unique<TestEditor> (*watched);
    }

    bool isDebugEnabled() const override { return debug; }

    std::unique_ptr<Watched> watched;
    int editorsCreated = 0;
    bool debug = false;
};

class BasePluginHostTest : public ::testing::Test
{
protected:
    BasePluginHostTest()
    {
        plugin.setUserSettingsFile (juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("no-such-folder/TestPlugin.ini"));
        plugin.preInitialise();
        plugin.initialise();
        plugin.addListener (&host);
    }

    ~BasePluginHostTest() override { plugin.removeListener (&host); }

    TestPlugin plugin;
    HostRecorder host;
};
} // namespace

TEST_F (BasePluginHostTest, HostChangesAreAppliedButNotEchoed)
{
    auto* tune = plugin.getParameterManager().getParameter (3);

    plugin.setParameter (3, 0.25f);
    EXPECT_EQ (tune->getNormalisedValue(), 0.25f);
    EXPECT_EQ (plugin.getParameter (3), 0.25f);
    EXPECT_TRUE (host.changes.empty());

    tune->setNormalisedValue (0.75f, true);
    ASSERT_EQ (host.changes.size(), 1u);
    EXPECT_EQ (host.changes[0].first, 3);
    EXPECT_EQ (host.changes[0].second, 0.75f);

    // MIDI learn reaches the host like the panel does.
    plugin.getMidiControl().assign (20, tune, false);
    plugin.getMidiControl().handleMidiMessage (juce::MidiMessage::controllerEvent (1, 20, 0));
    ASSERT_EQ (host.changes.size(), 2u);
    EXPECT_EQ (host.changes[1].second, 0.0f);

    // Parameters without a host index are never reported.
    plugin.getParameterManager().setNormalisedValue (60, 1.0f);
    plugin.getParameterManager().setNormalisedValue (50, 1.0f);
    EXPECT_EQ (host.changes.size(), 2u);
}

TEST_F (BasePluginHostTest, GesturesReachTheHostWithTheHostIndex)
{
    plugin.getParameterManager().getParameter (5)->beginChangeGesture();
    plugin.getParameterManager().getParameter (5)->endChangeGesture();
    plugin.getParameterManager().getParameter (60)->beginChangeGesture();

    EXPECT_EQ (host.gestures, (std::vector<int> { 1005, 2005 }));
}

TEST_F (BasePluginHostTest, IndicesAreCheckedAtBothEnds)
{
    EXPECT_EQ (plugin.getNumParameters(), 47);
    EXPECT_EQ (plugin.getParameterName (0), "Bass Drum Level");
    EXPECT_EQ (plugin.getParameterName (46), "Accent Rand Threshold");
    EXPECT_EQ (plugin.getParameterName (46, 6), "Accent");
    EXPECT_EQ (plugin.getParameterText (0), "0.500000000");
    EXPECT_TRUE (plugin.isParameterAutomatable (46));

    for (int index : { -1, -129, 47, 128, 1000 })
    {
        plugin.setParameter (index, 1.0f);
        EXPECT_EQ (plugin.getParameter (index), 0.0f);
        EXPECT_EQ (plugin.getParameterName (index), "");
        EXPECT_EQ (plugin.getParameterText (index), "");
        EXPECT_FALSE (plugin.isParameterAutomatable (index));
    }

    EXPECT_EQ (plugin.getParameterManager().getNormalisedValue (47), 0.0f);
    EXPECT_TRUE (host.changes.empty());
}

TEST_F (BasePluginHostTest, UnmappedIndicesKeepTheHostsValue)
{
    TestPlugin wide;
    wide.hostParameters = 500; // more than the table holds
    EXPECT_EQ (wide.getNumParameters(), 128);

    EXPECT_EQ (wide.getParameterName (100), "Parameter 101");
    wide.setParameter (100, 0.25f);
    EXPECT_EQ (wide.getParameter (100), 0.25f);
    EXPECT_EQ (wide.getParameterText (100), "0.250000000");

    wide.setHostParameter (100, wide.getParameterManager().getParameter (85));
    EXPECT_EQ (wide.getParameterName (100), "Accent Rand Selection");
    EXPECT_EQ (wide.getHostIndex (85), 100);
    wide.setHostParameter (100, nullptr);
    EXPECT_EQ (wide.getHostIndex (85), -1);
    wide.setHostParameter (128, wide.getParameterManager().getParameter (85));
    wide.setHostParameter (-1, wide.getParameterManager().getParameter (85));
    EXPECT_EQ (wide.getHostIndex (85), -1);
}

TEST (BasePluginStartUp, ConstructionLoadsTheDescriptionsAndPreInitialiseFindsTheLibrary)
{
    EditorPlugin plugin;
    EXPECT_EQ (plugin.getParameterManager().getNumParameters(), 86);
    EXPECT_EQ (plugin.getEventNameMap().getName (60), "Tap/Accept");
    EXPECT_EQ (plugin.getEventNameMap().getName (1010), "Toggle Midi Learn");
    EXPECT_EQ (plugin.getName(), "TestPlugin");
    EXPECT_EQ (plugin.getPluginPrefix(), "XX");
    EXPECT_EQ (plugin.getNumPrograms(), 0);

    plugin.debug = true;
    plugin.preInitialise();
    EXPECT_EQ (plugin.getPluginFile(), juce::File::getSpecialLocation (juce::File::currentExecutableFile));
    EXPECT_EQ (plugin.getPluginFolder(), plugin.getPluginFile().getParentDirectory());
    EXPECT_EQ (plugin.getUserSettingsFile(), plugin.getPluginFolder().getChildFile ("TestPlugin.ini"));
    EXPECT_EQ (plugin.getMidiControl().getName(), "TestPlugin");
    EXPECT_EQ (plugin.getParameterManager().getParameterName (300011), "Debug Parameter 11");
    EXPECT_EQ (plugin.getEventNameMap().getName (10000), "Debug Event 0");
}

TEST (BasePluginStartUp, TheEditorIsCreatedOnceLentToTheHostAndDeletedFirst)
{
    TestEditor::destroyedWhileWatchedAlive = false;

    {
        EditorPlugin plugin;
        plugin.setUserSettingsFile (juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("no-such-folder/TestPlugin.ini"));
        plugin.preInitialise();
        plugin.initialise();
        EXPECT_EQ (plugin.afterInitialiseCalls, 1);
        EXPECT_TRUE (plugin.hasEditor());
        EXPECT_EQ (plugin.createEditor(), nullptr);

        plugin.postInitialise();
        plugin.postInitialise();
        EXPECT_EQ (plugin.editorsCreated, 1);

        auto* editor = dynamic_cast<TestEditor*> (plugin.getEditorComponent());
        ASSERT_NE (editor, nullptr);
        EXPECT_EQ (editor->defaultControls, 1);
        EXPECT_EQ (editor->timerInterval, 25);

        for (int opening = 0; opening < 2; ++opening)
        {
            std::unique_ptr<juce::AudioProcessorEditor> window (plugin.createEditor());
            ASSERT_NE (window, nullptr);
            EXPECT_EQ (editor->getParentComponent(), window.get());
            EXPECT_TRUE (editor->isVisible());
            EXPECT_EQ (window->getWidth(), 320);
            EXPECT_EQ (window->getHeight(), 200);
            window.reset();

            EXPECT_EQ (editor->getParentComponent(), nullptr);
            EXPECT_FALSE (editor->isVisible());
        }

        EXPECT_EQ (plugin.editorsCreated, 1);

        // Closing while the host window is open leaves the window with nothing to show.
        std::unique_ptr<juce::AudioProcessorEditor> window (plugin.createEditor());
        plugin.deleteEditorComponent();
        EXPECT_EQ (plugin.getEditorComponent(), nullptr);
        EXPECT_EQ (dynamic_cast<AudioProcessorEditorWrapper&> (*window).getEditorComponent(), nullptr);
        window.reset();

        plugin.editorsCreated = 0;
        plugin.postInitialise();
        EXPECT_EQ (plugin.editorsCreated, 1);
    }

    EXPECT_TRUE (TestEditor::destroyedWhileWatchedAlive);
}
