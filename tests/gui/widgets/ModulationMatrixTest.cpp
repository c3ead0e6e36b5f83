#include "WidgetTestSupport.h"
#include "gui/widgets/ParameterModulationMatrix.h"
#include "gui/widgets/ParameterModulator.h"

#include <gtest/gtest.h>

#include <thread>

using namespace widgettest;

namespace
{
using Row = ParameterModulationMatrix::ModulationRow;
using Group = ParameterModulationMatrix::SourceGroup;

struct MatrixLog : public ParameterModulationMatrix::Listener
{
    void rowAdded (ParameterModulationMatrix*) override { log.push_back ("added"); }
    void rowRemoved (ParameterModulationMatrix*) override { log.push_back ("removed"); }
    void rowChanged (ParameterModulationMatrix*) override { log.push_back ("changed"); }
    void keyValueChanged (ParameterModulationMatrix*, int note) override { log.push_back ("key " + std::to_string (note)); }
    void matrixChanged (ParameterModulationMatrix*) override { log.push_back ("matrix"); }

    std::vector<std::string> log;
};

std::vector<int> targetsOf (const ParameterModulationMatrix& m, int source)
{
    std::vector<int> targets;

    for (int i = 0; i < m.getNumTargetsOfSource (source); ++i)
        targets.push_back (m.getTargetOfSource (source, i));

    return targets;
}

std::vector<float> amountsOfTarget (const ParameterModulationMatrix& m, Group group, int target)
{
    std::vector<float> amounts;

    for (int i = 0; i < m.getNumRowsOfTarget (group, target); ++i)
        amounts.push_back (m.getRowOfTarget (group, target, i).amount);

    return amounts;
}

/** Fills the boxes of every row it is shown, and remembers the calls. */
struct Delegate : public ParameterModulator::RowDelegate
{
    void configureRow (ParameterModulator*, ParameterModulator::Row* row, int index) override
    {
        calls.push_back (index);

        for (auto* box : {&row->getSourceBox(), &row->getTargetBox()})
        {
            if (box->getMenu().getNumItems() == 0)
                for (int id = 0; id < 9; ++id)
                    box->getMenu().addItem (id, "Item " + juce::String (id));

            box->updateText();
        }
    }

    std::vector<int> calls;
};

void choose (ComboBoxEx& box, int id)
{
    box.popupMenuItemSelected (&box.getMenu(), id, false);
}
} // namespace

TEST (ParameterModulationMatrix, RowsAreIndexedBySourceAndTarget)
{
    ParameterModulationMatrix m;
    MatrixLog listener;
    m.addListener (&listener);

    m.addRow ({0, 10, 0.5f});
    m.addRow ({0, 11, -0.25f});
    m.addRow ({3, 10, 1.0f});
    m.addRow ({4, 10, 0.75f});
    m.addRow ({1, -1, 0.1f});  // no target yet: stored, not indexed
    m.addRow ({12, 10, 0.1f}); // no such source
    EXPECT_EQ (m.getNumRows(), 6);
    EXPECT_EQ (listener.log.size(), 6u);

    EXPECT_EQ (targetsOf (m, 0), (std::vector<int>{10, 11}));
    EXPECT_EQ (targetsOf (m, 1), std::vector<int>());
    EXPECT_EQ (m.getNumRowsOfSource (3), 1);
    EXPECT_EQ (m.getNumRowsOfSource (12), 0);
    EXPECT_EQ (amountsOfTarget (m, Group::sourcesThreeAndFour, 10), (std::vector<float>{1.0f, 0.75f}));
    EXPECT_EQ (amountsOfTarget (m, Group::otherSources, 10), (std::vector<float>{0.5f}));
    EXPECT_EQ (m.getNumTargetsOfGroup (Group::sourcesThreeAndFour), 1);
    EXPECT_EQ (m.getNumTargetsOfGroup (Group::otherSources), 2);
    EXPECT_EQ (m.getNumRowsOfTarget (Group::otherSources, -1), 0);

    // The same values notify nobody; an amount alone keeps the index and still tells.
    listener.log.clear();
    m.setRow (0, {0, 10, 0.5f});
    EXPECT_TRUE (listener.log.empty());
    m.setRow (0, {0, 10, -0.5f});
    EXPECT_EQ (listener.log, (std::vector<std::string>{"changed"}));
    EXPECT_EQ (amountsOfTarget (m, Group::otherSources, 10), (std::vector<float>{-0.5f}));
    EXPECT_FLOAT_EQ (m.getRowOfSource (0, 0).amount, -0.5f);

    // A new target moves the row in the index.
    m.setRow (4, {1, 12, 0.1f});
    EXPECT_EQ (targetsOf (m, 1), std::vector<int>{12});
    m.setRow (99, {1, 12, 0.1f});
    EXPECT_EQ (listener.log.size(), 2u);

    // Moving reorders without rebuilding or telling.
    listener.log.clear();
    m.moveRow (0, 1);
    EXPECT_EQ (m.getRow (0).target, 11);
    EXPECT_EQ (m.getRow (1).target, 10);
    m.moveRow (0, 50);
    EXPECT_TRUE (listener.log.empty());

    m.removeRow (1);
    EXPECT_EQ (listener.log, (std::vector<std::string>{"removed"}));
    EXPECT_EQ (targetsOf (m, 0), std::vector<int>{11});
    EXPECT_EQ (m.getNumRowsOfTarget (Group::otherSources, 10), 0);
    m.removeRow (-1);
    m.removeRow (5);
    EXPECT_EQ (m.getNumRows(), 5);
    EXPECT_EQ (listener.log.size(), 1u);

    // Key values are kept within 0..1; notes outside the keys are ignored.
    listener.log.clear();
    m.setKeyValue (60, 1.5f);
    m.setKeyValue (61, -2.0f);
    m.setKeyValue (62, 0.25f);
    m.setKeyValue (128, 0.5f);
    m.setKeyValue (-1, 0.5f);
    EXPECT_FLOAT_EQ (m.getKeyValue (60), 1.0f);
    EXPECT_FLOAT_EQ (m.getKeyValue (61), 0.0f);
    EXPECT_FLOAT_EQ (m.getKeyValue (62), 0.25f);
    EXPECT_EQ (listener.log, (std::vector<std::string>{"key 60", "key 61", "key 62"}));
    m.removeListener (&listener);
}

TEST (ParameterModulationMatrix, ReadersOnAnotherThreadSeeWholeRows)
{
    ParameterModulationMatrix m;
    std::atomic<bool> done{false};
    std::atomic<int> bad{0};

    std::thread reader ([&]
                        {
                            while (! done)
                                for (int s = 0; s < ParameterModulationMatrix::numSources; ++s)
                                    for (int i = 0; i < m.getNumRowsOfSource (s); ++i)
                                    {
                                        const auto row = m.getRowOfSource (s, i);

                                        // Whole rows or none, never torn or freed ones.
                                        if (row.source != -1 && row.amount != 0.5f && row.amount != 0.25f)
                                            ++bad;
                                    } });

    for (int round = 0; round < 300; ++round)
    {
        m.addRow ({round % 9, round, 0.5f});
        m.setRow (0, {(round + 1) % 9, round, 0.25f});

        if (m.getNumRows() > 8)
            m.removeRow (0);
    }

    done = true;
    reader.join();
    EXPECT_EQ (bad.load(), 0);
}

TEST (ParameterModulator, ButtonsWorkWithoutMatrixOrDelegate)
{
    SkinContext skin;
    ParameterModulator modulator ("pm");
    skin.load (modulator, "<ParameterModulator><size width='640'/><pos left='3' top='4'/></ParameterModulator>");
    EXPECT_EQ (modulator.getBounds(), juce::Rectangle<int> (3, 4, 640, 200));
    EXPECT_EQ (modulator.getButton (0)->getName(), "Add Row");
    EXPECT_EQ (modulator.getButton (4)->getName(), "Settings");

    modulator.getButton (0)->triggerClick();
    modulator.getButton (0)->triggerClick();
    pumpPendingMessages();
    ASSERT_EQ (modulator.getNumRows(), 2);

    modulator.selectRow (1);
    modulator.getButton (2)->triggerClick();
    pumpPendingMessages();
    EXPECT_EQ (modulator.getSelectedRow(), 0);
    modulator.getButton (1)->triggerClick();
    pumpPendingMessages();
    EXPECT_EQ (modulator.getNumRows(), 1);
    EXPECT_EQ (modulator.getSelectedRow(), -1);

    // Drawing keys with no matrix keeps them in the scaler.
    auto& scaler = modulator.getPitchScaler();
    scaler.drawLine ({0, 0}, {20, 0});
    EXPECT_FLOAT_EQ (scaler.getValue (0), 1.0f);
    EXPECT_FLOAT_EQ (scaler.getValue (2), 1.0f);

    // Another tag only takes the default size.
    ParameterModulator other ("o");
    skin.load (other, "<Panel><size width='10' height='10'/></Panel>");
    EXPECT_EQ (other.getBounds(), juce::Rectangle<int> (0, 0, 400, 200));
}

TEST (ParameterModulator, TableEditsTheMatrix)
{
    ParameterModulationMatrix m;
    m.addRow ({1, 2, 0.5f});
    m.addRow ({3, 4, -0.5f});
    Delegate delegate;
    ParameterModulator modulator ("pm");
    modulator.setSize (640, 200);
    modulator.setRowDelegate (&delegate);
    modulator.setMatrix (&m);

    ASSERT_EQ (modulator.getNumRows(), 2);
    EXPECT_EQ (delegate.calls, (std::vector<int>{0, 1}));
    auto* first = modulator.getRow (0);
    EXPECT_EQ (first->getSourceBox().getSelectedId(), 1);
    EXPECT_EQ (first->getTargetBox().getSelectedId(), 2);
    EXPECT_EQ (first->getTargetBox().getText(), "Item 2");
    EXPECT_DOUBLE_EQ (first->getAmountSlider().getValue(), 0.5);

    // Rows are 20 high, 21 apart, as wide as the table; boxes and slider side by side.
    const int tableX = modulator.getTable().getX();
    EXPECT_GT (tableX, 4);
    EXPECT_EQ (modulator.getRow (1)->getBounds(), juce::Rectangle<int> (0, 21, modulator.getTable().getMaximumVisibleWidth(), 20));
    EXPECT_EQ (first->getTargetBox().getBounds(), juce::Rectangle<int> (152, 0, 150, 20));
    EXPECT_EQ (first->getAmountSlider().getX(), 304);

    // "Add Row" stores a row with no source and no target.
    delegate.calls.clear();
    modulator.getButton (0)->triggerClick();
    pumpPendingMessages();
    ASSERT_EQ (m.getNumRows(), 3);
    EXPECT_EQ (m.getRow (2).source, -1);
    EXPECT_EQ (m.getRow (2).target, -1);
    EXPECT_EQ (delegate.calls, std::vector<int>{2});

    // Choosing in a box or moving the slider writes the row back.
    auto* added = modulator.getRow (2);
    choose (added->getSourceBox(), 5);
    choose (added->getTargetBox(), 7);
    added->getAmountSlider().setValue (0.25, juce::sendNotificationSync);
    EXPECT_EQ (m.getRow (2).source, 5);
    EXPECT_EQ (m.getRow (2).target, 7);
    EXPECT_FLOAT_EQ (m.getRow (2).amount, 0.25f);
    EXPECT_EQ (m.getNumRowsOfSource (5), 1);
    EXPECT_EQ (delegate.calls, (std::vector<int>{2, 2, 2, 2}));

    // A press in a row selects it.
    added->mouseDown (mouseEvent (*added, 400.0f, 5.0f));
    EXPECT_EQ (modulator.getSelectedRow(), 2);
    EXPECT_TRUE (added->isSelected());
    EXPECT_FALSE (first->isSelected());

    // "Move Down" on the last row does nothing; "Move Up" moves it in both places.
    modulator.getButton (3)->triggerClick();
    pumpPendingMessages();
    EXPECT_EQ (modulator.getSelectedRow(), 2);
    modulator.getButton (2)->triggerClick();
    pumpPendingMessages();
    EXPECT_EQ (modulator.getSelectedRow(), 1);
    EXPECT_EQ (modulator.getRow (1), added);
    EXPECT_EQ (m.getRow (1).target, 7);
    EXPECT_EQ (added->getY(), 21);
    modulator.selectRow (0);
    modulator.getButton (2)->triggerClick();
    pumpPendingMessages();
    EXPECT_EQ (modulator.getSelectedRow(), 0);
    EXPECT_EQ (m.getRow (0).target, 2);

    // "Delete Row" removes the selected one from both.
    modulator.selectRow (1);
    modulator.getButton (1)->triggerClick();
    pumpPendingMessages();
    EXPECT_EQ (m.getNumRows(), 2);
    EXPECT_EQ (modulator.getNumRows(), 2);
    EXPECT_EQ (m.getRow (1).target, 4);

    // A replaced content rebuilds the table.
    m.addRow ({0, 0, 0.0f});
    EXPECT_EQ (modulator.getNumRows(), 2) << "a single added row is not the editor's business";
    m.sendMatrixChanged();
    EXPECT_EQ (modulator.getNumRows(), 3);
    EXPECT_EQ (modulator.getSelectedRow(), -1);

    // "Settings" swaps the table for the pitch scaler and back.
    modulator.getButton (4)->triggerClick();
    pumpPendingMessages();
    EXPECT_TRUE (modulator.isShowingSettings());
    EXPECT_FALSE (modulator.getTable().isVisible());
    EXPECT_TRUE (modulator.getPitchScaler().isVisible());
    EXPECT_EQ (modulator.getPitchScaler().getPosition(), juce::Point<int> (tableX, 0));
    modulator.getButton (4)->triggerClick();
    pumpPendingMessages();
    EXPECT_TRUE (modulator.getTable().isVisible());
    modulator.setMatrix (nullptr);
}

TEST (ParameterModulator, PitchScalerDrawsEveryKeyBetweenTwoPoints)
{
    ParameterModulationMatrix m;
    MatrixLog listener;
    ParameterModulator modulator ("pm");
    modulator.setMatrix (&m);
    m.addListener (&listener);
    auto& scaler = modulator.getPitchScaler();
    const auto area = scaler.getDrawArea();
    EXPECT_EQ (area.getWidth(), 7 * 128);
    EXPECT_EQ (scaler.getHeight(), area.getHeight() + 56);
    EXPECT_EQ (scaler.getKeyboard().getBounds(), juce::Rectangle<int> (0, area.getHeight(), area.getWidth(), 56));
    EXPECT_FALSE (scaler.getKeyboard().isMouseEnabled());

    // A fast drag from top left to bottom right: two samples, every key set once.
    const juce::Point<float> down (0.0f, 0.0f);
    scaler.mouseDown (mouseEvent (scaler, down.x, down.y));
    listener.log.clear();
    scaler.mouseDrag (mouseEvent (scaler, (float) area.getRight(), (float) area.getBottom(), juce::ModifierKeys::leftButtonModifier, down));
    EXPECT_EQ (listener.log.size(), 128u);
    EXPECT_FLOAT_EQ (m.getKeyValue (0), 1.0f);
    EXPECT_NEAR (m.getKeyValue (64), 0.5f, 0.01f);
    EXPECT_NEAR (m.getKeyValue (127), 1.0f / 128.0f, 0.01f);
    EXPECT_FLOAT_EQ (scaler.getValue (64), m.getKeyValue (64)) << "the matrix's notification updates the scaler";
    scaler.mouseUp (mouseEvent (scaler, (float) area.getRight(), (float) area.getBottom(), juce::ModifierKeys(), down));

    // A right click sets an anchor; the next click draws a straight line from it.
    const auto right = juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier);
    const float y = (float) area.getHeight() * 0.75f;
    scaler.mouseDown (mouseEvent (scaler, 7.0f * 10.0f, y, right));
    EXPECT_TRUE (scaler.isAnchorSet());
    scaler.mouseUp (mouseEvent (scaler, 7.0f * 10.0f, y, juce::ModifierKeys()));
    scaler.mouseDown (mouseEvent (scaler, 7.0f * 20.0f, y));
    EXPECT_FALSE (scaler.isAnchorSet());

    for (int note = 10; note <= 20; ++note)
        EXPECT_NEAR (m.getKeyValue (note), 0.25f, 0.01f) << note;

    m.removeListener (&listener);
}
