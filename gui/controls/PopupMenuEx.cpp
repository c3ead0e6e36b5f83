#include "gui/controls/PopupMenuEx.h"
#include "gui/DefaultLookAndFeel.h"
#include "gui/EmbeddedFonts.h"

PopupMenuEx::PopupMenuEx()
    : component (std::make_unique<PopupMenuComponent> (*this))
{
}

PopupMenuEx::PopupMenuEx (const PopupMenuEx& other)
    : name (other.name)
{
    copyItemsFrom (other);
    renumber (0);
    updateDerivedFlags();
}

PopupMenuEx& PopupMenuEx::operator= (const PopupMenuEx& other)
{
    if (this == &other)
        return *this;

    // Open windows point at the items about to go: close them first.
    if (component != nullptr)
        component->hide();

    name = other.name;
    copyItemsFrom (other);
    renumber (0);
    updateDerivedFlags();
    changed();
    return *this;
}

PopupMenuEx::~PopupMenuEx()
{
    // Windows point into the items: the component (and its windows) goes first.
    component.reset();
}

void PopupMenuEx::copyItemsFrom (const PopupMenuEx& other)
{
    items.clear();

    for (const auto& source : other.items)
    {
        auto item = std::make_unique<Item>();
        item->id = source->id;
        item->text = source->text;
        item->ticked = source->ticked;
        item->enabled = source->enabled;

        if (source->subMenu != nullptr)
            item->subMenu = std::make_unique<PopupMenuEx> (*source->subMenu);

        items.push_back (std::move (item));
    }
}

void PopupMenuEx::renumber (int newLevel)
{
    level = newLevel;

    for (auto& item : items)
    {
        item->owner = this;

        if (item->subMenu != nullptr)
            item->subMenu->renumber (newLevel + 1);
    }
}

void PopupMenuEx::updateDerivedFlags()
{
    for (auto& item : items)
    {
        item->containsTicked = false;
        item->containsEnabled = false;

        if (auto* sub = item->subMenu.get())
        {
            sub->updateDerivedFlags();

            for (auto& child : sub->items)
            {
                const bool isLeaf = child->subMenu == nullptr;
                item->containsTicked = item->containsTicked || (isLeaf ? child->ticked : child->containsTicked);
                item->containsEnabled = item->containsEnabled || (isLeaf ? child->enabled : child->containsEnabled);
            }
        }
    }
}

void PopupMenuEx::changed()
{
    if (component != nullptr)
        component->repaint();
}

void PopupMenuEx::addItem (int id, const juce::String& text)
{
    auto item = std::make_unique<Item>();
    item->owner = this;
    item->id = id;
    item->text = text;
    items.push_back (std::move (item));
}

void PopupMenuEx::addSubMenu (int id, const juce::String& text, const PopupMenuEx& subMenu)
{
    auto item = std::make_unique<Item>();
    item->owner = this;
    item->id = id;
    item->text = text;
    item->subMenu = std::make_unique<PopupMenuEx> (subMenu);
    items.push_back (std::move (item));
    renumber (level);
    updateDerivedFlags();
}

void PopupMenuEx::setItemTicked (int id, bool ticked, bool untickOthers)
{
    for (auto& item : items)
    {
        if (item->subMenu != nullptr)
            item->subMenu->setItemTicked (id, ticked, untickOthers);
        else if (item->id == id)
            item->ticked = ticked;
        else if (untickOthers)
            item->ticked = false;
    }

    updateDerivedFlags();
    changed();
}

void PopupMenuEx::setItemEnabled (int id, bool enabled)
{
    if (auto* item = findItem (id))
        item->enabled = enabled;

    updateDerivedFlags();
    changed();
}

PopupMenuEx::Item* PopupMenuEx::findItem (int id) const
{
    for (auto& item : items)
    {
        if (item->subMenu != nullptr)
        {
            if (auto* found = item->subMenu->findItem (id))
                return found;
        }
        else if (item->id == id)
        {
            return item.get();
        }
    }

    return nullptr;
}

juce::String PopupMenuEx::getItemText (int id) const
{
    if (auto* item = findItem (id))
        return item->text;

    return {};
}

PopupMenuEx::Item* PopupMenuEx::getItem (int index) const noexcept
{
    return juce::isPositiveAndBelow (index, (int) items.size()) ? items[(size_t) index].get() : nullptr;
}

void PopupMenuEx::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere (listener);
}

void PopupMenuEx::removeListener (Listener* listener)
{
    listeners.removeFirstMatchingValue (listener);
}

void PopupMenuEx::itemChosen (int id, bool ticked)
{
    if (component != nullptr)
        component->hide();

    for (int i = listeners.size(); --i >= 0;)
    {
        listeners.getUnchecked (i)->popupMenuItemSelected (this, id, ticked);
        i = juce::jmin (i, listeners.size());
    }
}

//==============================================================================
PopupMenuEx::Window::Window (PopupMenuComponent& h, PopupMenuEx& m)
    : host (h)
    , menu (m)
{
    setLookAndFeel (&host.getLookAndFeel());
    lookAndFeelChanged();
}

void PopupMenuEx::Window::lookAndFeelChanged()
{
    if (auto* laf = dynamic_cast<DefaultLookAndFeel*> (&getLookAndFeel()))
        font = laf->getDefaultFont();

    updateSize();
}

void PopupMenuEx::Window::updateSize()
{
    float widest = 0.0f;

    for (int i = 0; i < menu.getNumItems(); ++i)
        widest = juce::jmax (widest, font.getStringWidthFloat (menu.getItem (i)->text));

    setSize (12 + juce::roundToInt (widest), rowHeight * menu.getNumItems() + 8);
}

int PopupMenuEx::Window::getRowAt (int y) const
{
    // Rows are hit 3 pixels below where they are drawn, and the division
    // rounds toward zero: both are the menu's long-standing feel.
    const int index = (y - 6) / rowHeight;
    return juce::isPositiveAndBelow (index, menu.getNumItems()) ? index : -1;
}

void PopupMenuEx::Window::paint (juce::Graphics& g)
{
    const auto bounds = getLocalBounds().toFloat();
    g.setColour (juce::Colour (0xffe3e3e3));
    DefaultLookAndFeel::fillRoundedRectangle (g, bounds, 6.0f);
    g.setColour (juce::Colours::black);
    DefaultLookAndFeel::drawRoundedOutline (g, bounds, 5.0f, 1.0f);

    const auto boldFont = EmbeddedFonts::withStyle (font, juce::Font::bold);

    for (int i = 0; i < menu.getNumItems(); ++i)
    {
        auto* item = menu.getItem (i);
        const int y = 3 + rowHeight * i;

        if (item == hoveredItem)
        {
            g.setColour (juce::Colour (0xffadadad));
            DefaultLookAndFeel::fillRoundedRectangle (g, {4.0f, (float) y + 1.0f, (float) getWidth() - 8.0f, (float) rowHeight}, 3.0f);
        }

        g.setColour (juce::Colours::black);
        g.setFont (item->subMenu != nullptr && item->containsTicked ? boldFont : font);
        g.drawText (item->text, 6, y, getWidth() - 12, rowHeight, juce::Justification::centredLeft, false);
    }
}

void PopupMenuEx::Window::pointAt (int index, bool openNow)
{
    auto* item = menu.getItem (index);

    if (item == nullptr)
        return;

    auto* target = item->subMenu != nullptr ? item->subMenu.get() : item->owner;
    host.pendingMenu = target;
    host.nextPosition = {getX() + getWidth() + 5, getY() + rowHeight * index};

    if (target == host.currentMenu)
        host.stopTimer();
    else if (openNow)
        host.timerCallback();
    else
        host.startTimer (PopupMenuComponent::subMenuDelayMs);
}

void PopupMenuEx::Window::mouseMove (const juce::MouseEvent& e)
{
    const int index = getRowAt (e.y);
    pointAt (index, false);

    auto* newHovered = menu.getItem (index);

    if (newHovered != hoveredItem)
    {
        hoveredItem = newHovered;
        repaint();
    }
}

void PopupMenuEx::Window::mouseExit (const juce::MouseEvent&)
{
    hoveredItem = nullptr;
    repaint();
}

void PopupMenuEx::Window::mouseDown (const juce::MouseEvent& e)
{
    const int index = getRowAt (e.y);
    auto* item = menu.getItem (index);

    if (item == nullptr)
        return;

    if (item->subMenu != nullptr)
    {
        pointAt (index, true);
    }
    else if (item->enabled)
    {
        host.stopTimer();
        // Choosing hides the host, which deletes this window: touch nothing after.
        host.rootMenu.itemChosen (item->id, item->ticked);
    }
}

//==============================================================================
PopupMenuEx::PopupMenuComponent::PopupMenuComponent (PopupMenuEx& root)
    : rootMenu (root)
{
    setVisible (false);
}

PopupMenuEx::PopupMenuComponent::~PopupMenuComponent()
{
    stopTimer();
    closeAllWindows();
}

void PopupMenuEx::PopupMenuComponent::positionChanged()
{
    auto& cover = getCoveringWindow();
    setBounds (0, 0, cover.getWidth(), cover.getHeight());
}

void PopupMenuEx::PopupMenuComponent::closeAllWindows()
{
    removeAllChildren();
    windows.clear();
}

void PopupMenuEx::PopupMenuComponent::shownStateChanged()
{
    stopTimer();
    closeAllWindows();
    pendingMenu = nullptr;
    currentMenu = nullptr;

    if (!isShown())
        field.reset();
    else
    {
        pendingMenu = &rootMenu;
        nextPosition = getStoredPosition();

        if (pendingMenu != currentMenu)
            timerCallback();
    }
}

void PopupMenuEx::PopupMenuComponent::mouseDown (const juce::MouseEvent& e)
{
    if (e.eventComponent == this)
        hide();
}

void PopupMenuEx::PopupMenuComponent::timerCallback()
{
    stopTimer();
    openMenu (pendingMenu);
}

void PopupMenuEx::PopupMenuComponent::showBelow (juce::Component& fieldToUse)
{
    // In the editor's frame, which the covering window and this component share.
    auto* editor = fieldToUse.findParentComponentOfClass<PseudoModalComponent::Desktop>();
    auto* editorComponent = dynamic_cast<juce::Component*> (editor);

    if (!isShown() && editorComponent != nullptr)
        field = editorComponent->getLocalArea (&fieldToUse, fieldToUse.getLocalBounds());

    showAt (1, {0, fieldToUse.getHeight()}, &fieldToUse);
}

juce::Point<int> PopupMenuEx::PopupMenuComponent::placeInside (const Window& window) const
{
    // A menu that runs past the editor's edge shows only part of its items: keep it inside.
    const auto area = getLocalBounds();
    auto place = nextPosition;

    if (area.isEmpty())
        return place;

    const bool isRoot = windows.size() <= 1;

    if (place.x + window.getWidth() > area.getRight())
    {
        // A sub-menu goes to the other side of its parent window instead.
        auto* parentWindow = isRoot ? nullptr : windows[windows.size() - 2];

        if (parentWindow != nullptr && parentWindow->getX() - 5 - window.getWidth() >= 0)
            place.x = parentWindow->getX() - 5 - window.getWidth();
        else
            place.x = area.getRight() - window.getWidth();
    }

    if (place.y + window.getHeight() > area.getBottom())
    {
        if (isRoot && field.has_value() && field->getY() - window.getHeight() >= 0)
            place.y = field->getY() - window.getHeight();
        else
            place.y = area.getBottom() - window.getHeight();
    }

    return {juce::jmax (0, place.x), juce::jmax (0, place.y)};
}

bool PopupMenuEx::PopupMenuComponent::closeInnermostWindow()
{
    auto* last = windows.getLast();

    // The root window goes only when the whole menu is hidden.
    if (last == nullptr || &last->getMenu() == &rootMenu)
        return false;

    removeChildComponent (last);
    windows.removeLast();
    currentMenu = windows.isEmpty() ? nullptr : &windows.getLast()->getMenu();
    return true;
}

void PopupMenuEx::PopupMenuComponent::openMenu (PopupMenuEx* menu)
{
    if (menu == nullptr)
        return;

    while (!windows.isEmpty() && windows.getLast()->getMenu().getLevel() > menu->getLevel())
        if (!closeInnermostWindow())
            break;

    if (!windows.isEmpty() && &windows.getLast()->getMenu() != menu && windows.getLast()->getMenu().getLevel() == menu->getLevel())
        closeInnermostWindow();

    if (!windows.isEmpty() && &windows.getLast()->getMenu() == menu)
        return;

    auto* window = windows.add (new Window (*this, *menu));
    window->setTopLeftPosition (placeInside (*window));
    window->setVisible (true);
    addChildComponent (window, -1);
    currentMenu = menu;
}
