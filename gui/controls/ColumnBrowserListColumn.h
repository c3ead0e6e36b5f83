#pragma once

#include "gui/controls/ColumnBrowser.h"

/** A column showing its items in a list, with renaming and drag and drop. */
class ColumnBrowser::ListColumn : public ColumnBrowser::Column,
                                  public juce::DragAndDropTarget
{
public:
    static constexpr int rowHeight = 20;
    static constexpr int dropEdge = 5;

    enum DropMode
    {
        noDrop = 0,
        dropOnColumn = 1,
        dropOntoItem = 2,
        dropBeforeItem = 3,
        dropAfterItem = 4
    };

    /** One row: the name in a label that can be edited, a child arrow, the
        selection fill. */
    class ItemComponent : public juce::Component,
                          private ModalTextEditor::ModalListener
    {
    public:
        explicit ItemComponent (ListColumn& column);
        ~ItemComponent() override;

        void update (int row, bool selected);
        void showEditor();

        LabelWithModalTextEditor& getLabel() noexcept { return label; }

        /** Whether the name editor is open over the row. */
        bool isBeingEdited() const noexcept;
        int getRow() const noexcept { return row; }
        bool isSelected() const noexcept { return selected; }

        void paint (juce::Graphics& g) override;
        void paintOverChildren (juce::Graphics& g) override;
        void resized() override;

    private:
        void textCommitted (ModalTextEditor* source) override;
        void updateLabelColour();

        ListColumn& column;
        LabelWithModalTextEditor label;
        int row = -1;
        bool selected = false;
        bool hasChildren = false;
        juce::Colour normalColour, selectedColour;
        juce::Image normalImage, selectedImage;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ItemComponent)
    };

    /** The list box, its own model. */
    class List : public juce::ListBox,
                 public juce::ListBoxModel
    {
    public:
        explicit List (ListColumn& column);
        ~List() override;

        int getNumRows() override;
        void paintListBoxItem (int row, juce::Graphics& g, int width, int height, bool selected) override;
        juce::Component* refreshComponentForRow (int row, bool selected, juce::Component* existing) override;
        void selectedRowsChanged (int lastRowSelected) override;
        void listBoxItemDoubleClicked (int row, const juce::MouseEvent& e) override;
        void backgroundClicked (const juce::MouseEvent& e) override;
        juce::var getDragSourceDescription (const juce::SparseSet<int>& rows) override;

        ListColumn& getColumn() noexcept { return column; }

    private:
        ListColumn& column;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (List)
    };

    explicit ListColumn (ColumnBrowser& browser);
    ~ListColumn() override;

    /** Selects the row (opening its child column) and scrolls it into view. */
    void selectItem (int index);

    List& getList() noexcept { return *list; }
    int getDropRow() const noexcept { return dropRow; }
    int getDropMode() const noexcept { return dropMode; }

    /** The item component of a row, when that row is on screen. */
    ItemComponent* getItemComponent (int row) const;

    void refresh() override;

    bool isInterestedInDragSource (const SourceDetails& details) override;
    void itemDragEnter (const SourceDetails& details) override;
    void itemDragMove (const SourceDetails& details) override;
    void itemDragExit (const SourceDetails& details) override;
    void itemDropped (const SourceDetails& details) override;

    void lookAndFeelChanged() override;
    void resized() override;
    void paintOverChildren (juce::Graphics& g) override;

private:
    /** The column a drag comes from, when it is a list row of this browser. */
    Column* getSourceColumn (const SourceDetails& details) const;
    void resetDrop();

    std::unique_ptr<List> list;
    int dropRow = -1;
    int dropMode = noDrop;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ListColumn)
};
