#pragma once

#include "framework/MidiControl.h"
#include "gui/controls/AlertWindow.h"
#include "gui/controls/CheckBox.h"
#include "gui/controls/ComponentRow.h"
#include "gui/controls/DefaultResourceCheckBox.h"
#include "gui/controls/DocumentFileChooser.h"
#include "gui/controls/LookAndFeelWatch.h"

#include <memory>

/** The "Midi Control" page: the learned controller assignments in a list, buttons
    to delete one, clear them all after a question, load and save map files, the
    learn switch and the map loaded at start-up. It follows every change of the
    map and of the learn state, whatever made it. */
class MidiControlComponent : public juce::Component,
                             public juce::Button::Listener,
                             public CheckBox::Listener,
                             public DefaultResourceCheckBox::Listener,
                             public MidiControl::Listener,
                             public Oru::AlertWindow::Caller
{
public:
    /** The assignments, controller number and parameter name, flowing top to bottom
        into columns that scroll sideways. */
    class ListComponent : public juce::Component,
                          public juce::ScrollBar::Listener
    {
    public:
        static constexpr int rowHeight = 19;
        static constexpr int headerHeight = 20;

        struct Row
        {
            int controller;
            juce::String parameterName;
        };

        ListComponent (MidiControlComponent& page, MidiControl& map);
        ~ListComponent() override;

        /** Re-reads every assignment in controller order; nothing stays selected. */
        void rebuild();

        /** Selects a row (-1 none) and scrolls its column into view; with learn set and
            the map learning, the row's parameter waits for the next controller. */
        void selectRow (int index, bool learn);

        int getSelectedRow() const noexcept { return selectedRow; }
        int getNumRows() const noexcept { return rows.size(); }
        const Row& getRow (int index) const { return rows.getReference (index); }
        int getRowsPerColumn() const;
        int getColumnWidth() const noexcept { return columnWidth; }
        int getScrollOffset() const noexcept { return scrollOffset; }
        void setScrollOffset (int offset);
        juce::ScrollBar& getScrollBar() noexcept { return scrollBar; }

        /** The row under a point of the list, -1 on the header or past the rows. */
        int getRowAt (juce::Point<int> position) const;

        void mouseDown (const juce::MouseEvent& e) override;
        void scrollBarMoved (juce::ScrollBar* bar, double newRangeStart) override;
        void lookAndFeelChanged() override;
        void resized() override;
        void paint (juce::Graphics& g) override;

    private:
        void measure();
        void updateScrollBar();
        int getListHeight() const;

        MidiControlComponent& page;
        MidiControl& map;
        juce::Array<Row> rows;
        int selectedRow = -1;
        juce::Font headerFont{14.0f}, rowFont{14.0f};
        int numberWidth = 0, columnWidth = 100;
        int scrollOffset = 0;
        juce::ScrollBar scrollBar{false};

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ListComponent)
    };

    MidiControlComponent (MidiControl& map, const juce::String& mapFileExtension, const juce::String& chooserPatterns);
    ~MidiControlComponent() override;

    void setMapFileTypes (const juce::String& extension, const juce::String& patterns);
    const juce::String& getMapFileExtension() const noexcept { return mapFileExtension; }
    const juce::String& getMapFilePatterns() const noexcept { return mapFilePatterns; }

    /** "Delete Assign" while a row is selected, "Clear All" while the map holds any. */
    void updateButtons();

    ListComponent& getList() noexcept { return *list; }
    CheckBox& getLearnCheckBox() noexcept { return learnCheckBox; }
    DefaultResourceCheckBox& getDefaultMapCheckBox() noexcept { return defaultMapCheckBox; }
    juce::ImageButton* getImageButton (const juce::String& name) const;
    Oru::AlertWindow* getConfirmation() const noexcept { return confirmation.get(); }

    /** The map files' dialogs (tests give them a scripted launcher). */
    DocumentFileChooser& getDocumentChooser() noexcept { return documents; }

    void buttonClicked (juce::Button* button) override;
    void checkBoxChanged (CheckBox* checkBox) override;
    void defaultResourceChanged (DefaultResourceCheckBox* checkBox) override;
    void midiMapChanged (MidiControl& map) override;
    void midiLearnStateChanged (MidiControl& map) override;
    void alertWindowClosed (Oru::AlertWindow* window, int result) override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;
    void resized() override;
    void childBoundsChanged (juce::Component* child) override;

private:
    MidiControl& map;
    juce::String mapFileExtension, mapFilePatterns;
    CheckBox learnCheckBox;
    DefaultResourceCheckBox defaultMapCheckBox;
    std::unique_ptr<ListComponent> list;
    ComponentRow buttonRow{ComponentRow::row, ComponentRow::start, 4};
    juce::ImageButton deleteAssign{"Delete Assign"}, clearAll{"Clear All"}, loadMap{"Load Map"}, saveMap{"Save Map"};
    std::unique_ptr<Oru::AlertWindow> confirmation, retiredConfirmation;
    DocumentFileChooser documents{*this};
    LookAndFeelWatch lookAndFeelWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MidiControlComponent)
};
