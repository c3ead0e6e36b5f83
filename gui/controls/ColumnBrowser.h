#pragma once

#include "gui/controls/LabelWithModalTextEditor.h"
#include "gui/controls/LookAndFeelWatch.h"

#include <memory>

/** A hierarchy shown as side-by-side list columns in a horizontally scrolling
    view: choosing an item opens its child column to the right, opening a column
    re-creates its parent columns to the left. Columns can be resized by a grip,
    items renamed in place and dragged between columns of the same browser. */
class ColumnBrowser : public juce::Viewport,
                      public juce::DragAndDropContainer
{
public:
    enum ColourIds
    {
        backgroundColourId = 0x0F003100,
        columnColourId = 0x0F003101,
        outlineColourId = 0x0F003102,
        selectedItemColourId = 0x0F003105
    };

    static constexpr int minimumColumnWidth = 100;

    //==============================================================================
    /** One column; subclasses supply the items and what choosing and dropping do. */
    class Column : public juce::Component
    {
    public:
        explicit Column (ColumnBrowser& browser);
        ~Column() override;

        ColumnBrowser& getBrowser() const noexcept { return browser; }
        Column* getLeftColumn() const noexcept { return leftColumn; }
        Column* getRightColumn() const noexcept { return rightColumn; }
        bool isLastColumn() const noexcept { return isLast; }
        bool isResizing() const noexcept { return resizing; }

        /** Width of the painted column body (the grip strip excluded). */
        int getInnerWidth();

        virtual bool hasParentColumn() = 0;
        virtual bool isChildOf (Column* column) = 0;
        virtual bool isParentColumn (Column* column) = 0;
        virtual Column* createParentColumn();
        virtual bool isResizable();
        virtual int getColumnWidth();
        virtual void refresh();
        virtual int getNumItems();
        virtual juce::String getItemName (int index);
        /** The item's text colour; a fully transparent colour means "none set". */
        virtual juce::Colour getItemColour (int index, bool selected);
        /** A picture at the left of the item's row; a null image means none. */
        virtual juce::Image getItemImage (int index, bool selected);
        virtual bool hasChildItems (int index);
        virtual bool canDragItem (int index);
        virtual bool canRenameItem (int index);
        virtual Column* createChildColumn (int index);
        virtual Column* createBackgroundColumn();
        virtual void itemSelected (int index);
        virtual void renameItem (int index, const juce::String& newName);
        virtual void backgroundClicked();
        virtual bool acceptsDropOnColumn (Column* source);
        virtual bool acceptsDropOnto (Column* source, int index);
        virtual bool acceptsDropBefore (Column* source, int index);
        virtual bool acceptsDropAfter (Column* source, int index);
        virtual void itemDroppedOnColumn (Column* source);
        virtual void itemDroppedOnto (Column* source, int index);
        virtual void itemDroppedBefore (Column* source, int index);
        virtual void itemDroppedAfter (Column* source, int index);

        void paint (juce::Graphics& g) override;
        void mouseDown (const juce::MouseEvent& e) override;
        void mouseDrag (const juce::MouseEvent& e) override;
        void mouseUp (const juce::MouseEvent& e) override;

    private:
        friend class ColumnBrowser;
        void setNeighbours (Column* left, Column* right, bool last);

        bool isLast = false;
        bool resizing = false;
        int widthAtDragStart = 0;
        Column* leftColumn = nullptr;
        Column* rightColumn = nullptr;
        ColumnBrowser& browser;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Column)
    };

    //==============================================================================
    /** A column showing its items in a list, with renaming and drag and drop. */
    class ListColumn : public Column,
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

    //==============================================================================
    /** The viewed component that holds the columns. */
    class ViewportComponent : public juce::Component
    {
    public:
        ViewportComponent() = default;

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ViewportComponent)
    };

    //==============================================================================
    ColumnBrowser();
    ~ColumnBrowser() override;

    /** Opens a column (taking ownership; null is ignored): replaces the columns that
        are not its ancestors and re-creates its missing parents to the left. */
    void openColumn (Column* column);

    /** Re-reads every column, then calls browserUpdated. */
    void refresh();

    /** Called after the columns changed or were refreshed. */
    virtual void browserUpdated();

    int getNumColumns() const noexcept { return columns.size(); }
    Column* getColumn (int index) const noexcept { return columns[index]; }
    ViewportComponent& getContent() noexcept { return content; }

    /** Places the columns side by side and sizes the content. */
    void layoutColumns();

    /** Brackets a call out of a column (choosing, background click): a column that
        is replaced meanwhile is deleted only at the end, so the call can finish. */
    void beginColumnCallback (Column* column) noexcept;
    void endColumnCallback (Column* previous) noexcept;
    Column* getBusyColumn() const noexcept { return busyColumn; }

    void resized() override;
    void paint (juce::Graphics& g) override;
    void visibleAreaChanged (const juce::Rectangle<int>& newVisibleArea) override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;
    void dragOperationStarted (const juce::DragAndDropTarget::SourceDetails& details) override;
    void dragOperationEnded (const juce::DragAndDropTarget::SourceDetails& details) override;

private:
    void adopt (Column& column);
    void removeLastColumn();
    void linkColumns();
    int getContentHeight();

    juce::OwnedArray<Column> columns; // left to right
    ViewportComponent content;
    std::unique_ptr<Column> parkedColumn;
    Column* busyColumn = nullptr;
    juce::OwnedArray<Column> retiredColumns;                  // replaced while busy, deleted after the call
    juce::Component::SafePointer<juce::Component> dragSource; // of the running drag, if any
    LookAndFeelWatch lookAndFeelWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ColumnBrowser)
};
