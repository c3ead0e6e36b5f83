#pragma once

#include "gui/controls/ComboBoxEx.h"
#include "gui/controls/ComponentRow.h"
#include "gui/widgets/GUIController.h"
#include "gui/widgets/MusicKeyboard.h"
#include "gui/widgets/ParameterModulationMatrix.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

/** Edits a ParameterModulationMatrix: a column of buttons, a table of rows (source and
    target boxes and an amount slider each) and, behind "Settings", a pitch scaler where
    the per-key values are drawn with the mouse above a keyboard. The owner supplies the
    matrix and a row delegate that fills the boxes; without either the table still works
    on its own rows. Message thread only. */
class ParameterModulator : public GUIController, public juce::Component, public juce::Button::Listener, public ParameterModulationMatrix::Listener
{
public:
    class Row;

    class RowDelegate
    {
    public:
        virtual ~RowDelegate() = default;

        /** Called after a row was created or changed, with its index. */
        virtual void configureRow (ParameterModulator* modulator, Row* row, int index) = 0;
    };

    /** One routing: source box, target box, amount slider. */
    class Row : public juce::Component, public ComboBoxEx::Listener, public juce::Slider::Listener
    {
    public:
        static constexpr juce::uint32 selectedColour = 0xffadd8e6;

        Row (ParameterModulator& owner, const ParameterModulationMatrix::ModulationRow& values);
        ~Row() override;

        ComboBoxEx& getSourceBox() noexcept { return sourceBox; }
        ComboBoxEx& getTargetBox() noexcept { return targetBox; }
        juce::Slider& getAmountSlider() noexcept { return amountSlider; }

        /** Source and target ids and the amount within -1..+1. */
        ParameterModulationMatrix::ModulationRow getValues() const;

        /** Shows the values without telling anyone. */
        void showValues (const ParameterModulationMatrix::ModulationRow& values);

        bool isSelected() const noexcept { return selected; }
        void setSelected (bool shouldBeSelected);

        void paint (juce::Graphics& g) override;
        void resized() override;
        void mouseDown (const juce::MouseEvent& e) override;
        void comboBoxExChanged (ComboBoxEx* box) override;
        void sliderValueChanged (juce::Slider* slider) override;

    private:
        ParameterModulator& modulator;
        ComboBoxEx sourceBox, targetBox;
        juce::Slider amountSlider;
        bool selected = false;

        JUCE_DECLARE_NON_COPYABLE (Row)
    };

    /** Scrolls the rows. */
    class Table : public juce::Viewport
    {
    public:
        Table();

        juce::Component& getContent() noexcept { return content; }

    private:
        juce::Component content;
    };

    /** Per-key values drawn as a curve above a keyboard; the right button sets an anchor
        from which the next click draws a straight line. */
    class PitchScaler : public juce::Component
    {
    public:
        static constexpr int keyboardHeight = 56;
        static constexpr juce::uint32 curveColour = 0x80ff8400;
        static constexpr juce::uint32 crossColour = 0x40ff8400;

        explicit PitchScaler (ParameterModulator& owner);

        float getValue (int note) const noexcept { return values[(size_t) juce::jlimit (0, 127, note)]; }
        void setValue (int note, float value);
        juce::Rectangle<int> getDrawArea() const noexcept { return drawArea; }
        MusicKeyboard& getKeyboard() noexcept { return keyboard; }
        bool isAnchorSet() const noexcept { return anchorSet; }

        /** Sets every key between two points of the curve. */
        void drawLine (juce::Point<int> from, juce::Point<int> to);

        void paint (juce::Graphics& g) override;
        void mouseMove (const juce::MouseEvent& e) override;
        void mouseDown (const juce::MouseEvent& e) override;
        void mouseDrag (const juce::MouseEvent& e) override;
        void mouseExit (const juce::MouseEvent& e) override;

        /** The built-in background: one 7-pixel column per note, octaves marked. */
        static juce::Image createBackground();

    private:
        ParameterModulator& modulator;
        juce::Image background;
        MusicKeyboard keyboard;
        std::array<float, 128> values{};
        juce::Rectangle<int> drawArea;
        juce::Point<int> mousePos;
        bool mouseInside = false;
        bool anchorSet = false;
        juce::Point<int> anchor;
    };

    explicit ParameterModulator (const juce::String& name);
    ~ParameterModulator() override;

    void setRowDelegate (RowDelegate* delegate) noexcept { rowDelegate = delegate; }
    RowDelegate* getRowDelegate() const noexcept { return rowDelegate; }

    /** The edited matrix (not owned; may be null); the table is rebuilt from it. */
    void setMatrix (ParameterModulationMatrix* newMatrix);
    ParameterModulationMatrix* getMatrix() const noexcept { return matrix; }

    int getNumRows() const noexcept { return rows.size(); }
    Row* getRow (int index) const noexcept { return rows[index]; }
    int indexOfRow (const Row* row) const noexcept { return rows.indexOf (row); }

    int getSelectedRow() const noexcept { return selectedRow; }
    void selectRow (int index);

    bool isShowingSettings() const noexcept { return showSettings; }

    /** The five buttons in order: "Add Row", "Delete Row", "Move Up", "Move Down", "Settings". */
    juce::Button* getButton (int index) const noexcept { return buttons[index]; }

    Table& getTable() noexcept { return table; }
    PitchScaler& getPitchScaler() noexcept { return pitchScaler; }

    void addRow();
    void deleteSelectedRow();
    void moveSelectedRow (int delta);
    void toggleSettings();

    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void buttonClicked (juce::Button* button) override;

    void rowAdded (ParameterModulationMatrix*) override {}
    void rowRemoved (ParameterModulationMatrix*) override {}
    void rowChanged (ParameterModulationMatrix*) override {}
    void keyValueChanged (ParameterModulationMatrix* source, int note) override;
    void matrixChanged (ParameterModulationMatrix* source) override;

private:
    friend class Row;

    void rebuildTable();
    void layoutRows();
    void refreshSelection();
    void rowEdited (Row& row);
    void configure (Row& row, int index);
    void copyKeyValues();

    RowDelegate* rowDelegate = nullptr;
    ParameterModulationMatrix* matrix = nullptr;
    juce::OwnedArray<Row> rows;
    int selectedRow = -1;
    bool showSettings = false;

    juce::OwnedArray<juce::Button> buttons;
    ComponentRow buttonColumn{ComponentRow::column};
    Table table;
    PitchScaler pitchScaler;

    JUCE_DECLARE_NON_COPYABLE (ParameterModulator)
};
