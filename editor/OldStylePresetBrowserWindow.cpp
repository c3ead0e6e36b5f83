#include "editor/OldStylePresetBrowserWindow.h"

#include "editor/BasePluginEditorOldStyle.h"
#include "framework/BasePluginOldStyle.h"
#include "framework/ParameterManager.h"
#include "gui/EmbeddedFonts.h"
#include "gui/controls/ToolkitLookAndFeelMethods.h"

namespace
{
constexpr int rowGap = 5;

struct IconButton
{
    const char* name;
    int icon;
    const char* tooltip;
};

// In the order of the button row.
const IconButton iconButtons[] = {{"Add Group", 9, "Add group"},
                                  {"Rem Group", 10, "Remove empty group"},
                                  {"Copy", 1, "Copy current preset"},
                                  {"Paste", 3, "Paste copied preset"},
                                  {"Up", 6, "Select previous preset"},
                                  {"Down", 5, "Select next preset"}};
} // namespace

OldStylePresetBrowserWindow::OldStylePresetBrowserWindow (BasePluginOldStyle& p)
    : plugin (p)
{
    setTitle ("Preset Browser");
    BasePluginEditorOldStyle::followDialogFolder (documents, plugin);
    browser = std::make_unique<OldStylePresetsBrowser> (*this, plugin);
    addAndMakeVisible (*browser);

    juce::ImageButton* buttons[] = {&addGroup, &removeGroup, &copy, &paste, &up, &down};

    for (size_t i = 0; i < std::size (buttons); ++i)
    {
        buttons[i]->setTooltip (iconButtons[i].tooltip);
        buttons[i]->addListener (this);
        buttonRow.addAndMakeVisible (buttons[i]);
    }

    // Held down, they step on: the first repeat after a second, then ten a second.
    up.setRepeatSpeed (1000, 100);
    down.setRepeatSpeed (1000, 100);
    addAndMakeVisible (buttonRow);

    presetLoad.setTooltip ("Load preset");
    presetSave.setTooltip ("Save current preset");
    bankLoad.setTooltip ("Load preset bank");
    bankSave.setTooltip ("Save current preset bank");
    addLabel (presetLabel, "Preset");
    fileRow.addAndMakeVisible (presetLoad);
    fileRow.addAndMakeVisible (presetSave);
    addLabel (bankLabel, "Bank");
    fileRow.addAndMakeVisible (bankLoad);
    fileRow.addAndMakeVisible (bankSave);

    for (auto* button : {&presetLoad, &presetSave, &bankLoad, &bankSave})
        button->addListener (this);

    addAndMakeVisible (fileRow);

    auto& store = plugin.getParameterManager();

    for (const int uid : {BasePluginOldStyle::currentPresetNumberUid, BasePluginOldStyle::currentPresetNameUid})
        if (auto* parameter = store.getParameter (uid))
            parameter->addAsyncListener (this);

    setSize (defaultWidth, defaultHeight);
    lookAndFeelChanged();

    if (auto* parameter = store.getParameter (BasePluginOldStyle::currentPresetNumberUid))
        parameterChanged (parameter);
}

OldStylePresetBrowserWindow::~OldStylePresetBrowserWindow()
{
    // Its columns tell this window of selection changes while they go.
    browser.reset();
    auto& store = plugin.getParameterManager();

    for (const int uid : {BasePluginOldStyle::currentPresetNumberUid, BasePluginOldStyle::currentPresetNameUid})
        if (auto* parameter = store.getParameter (uid))
            parameter->removeAsyncListener (this);

    for (auto* button : std::initializer_list<juce::Button*>{&addGroup, &removeGroup, &copy, &paste, &up, &down,
                                                             &presetLoad, &presetSave, &bankLoad, &bankSave})
        button->removeListener (this);
}

void OldStylePresetBrowserWindow::addLabel (juce::Label& label, const juce::String& text)
{
    const auto font = EmbeddedFonts::tahoma (13.0f);
    label.setText (text, juce::dontSendNotification);
    label.setFont (font);
    label.setJustificationType (juce::Justification::centredRight);
    label.setBorderSize ({0, 0, 0, 2});
    label.setSize (juce::roundToInt (font.getStringWidthFloat (text)) + 8, 20);
    fileRow.addAndMakeVisible (label);
}

juce::ImageButton* OldStylePresetBrowserWindow::getImageButton (const juce::String& name) const
{
    for (auto* button : {&addGroup, &removeGroup, &copy, &paste, &up, &down})
        if (button->getName() == name)
            return const_cast<juce::ImageButton*> (button);

    return nullptr;
}

bool OldStylePresetBrowserWindow::dimsBackground()
{
    return true;
}

void OldStylePresetBrowserWindow::updateButtons()
{
    auto* groups = browser != nullptr ? browser->getGroupColumn() : nullptr;
    const bool oneGroup = groups != nullptr && groups->getList().getNumSelectedRows() == 1;
    const int group = oneGroup ? groups->getList().getSelectedRow() : -1;
    addGroup.setEnabled (oneGroup);
    removeGroup.setEnabled (oneGroup && plugin.getGroupSize (group) == 0);
}

void OldStylePresetBrowserWindow::parameterChanged (Parameter* parameter)
{
    if (parameter->getUid() == BasePluginOldStyle::currentPresetNameUid)
    {
        browser->refresh();
        return;
    }

    if (parameter->getUid() != BasePluginOldStyle::currentPresetNumberUid)
        return;

    const int index = parameter->getIntValue();
    const int group = plugin.getGroupOfPreset (index);
    browser->showPreset (group, group < 0 ? -1 : index - plugin.getFirstPresetOfGroup (group));
}

void OldStylePresetBrowserWindow::buttonClicked (juce::Button* button)
{
    if (button == &addGroup)
    {
        const int group = browser->getSelectedGroup();

        if (group >= 0)
        {
            plugin.insertGroup (group);
            browser->refresh();
        }
    }
    else if (button == &removeGroup)
    {
        const int group = browser->getSelectedGroup();

        if (group >= 0 && plugin.getGroupSize (group) == 0)
        {
            plugin.removeGroup (group);
            browser->refresh();
        }
    }
    else if (button == &copy)
    {
        plugin.copyCurrentPreset();
    }
    else if (button == &paste)
    {
        plugin.pasteCopiedPreset();
    }
    else if (button == &up)
    {
        plugin.selectPreviousPreset();
    }
    else if (button == &down)
    {
        plugin.selectNextPreset();
    }
    else if (button == &presetLoad)
    {
        auto& owner = plugin;
        documents.load ("Load single preset", plugin.getPresetFilePatterns(), [&owner] (const juce::File& file)
                        { return owner.loadPresetFile (file, owner.getCurrentPreset()); });
    }
    else if (button == &presetSave)
    {
        auto& owner = plugin;
        documents.save ("Save current settings as preset", plugin.getPresetFileExtension(), [&owner] (const juce::File& file)
                        { return owner.saveCurrentSettingsFile (file); });
    }
    else if (button == &bankLoad)
    {
        auto& owner = plugin;
        documents.load ("Load preset bank", plugin.getBankFilePatterns(), [&owner] (const juce::File& file)
                        { return owner.loadBankFile (file); });
    }
    else if (button == &bankSave)
    {
        auto& owner = plugin;
        documents.save ("Save preset bank", plugin.getBankFileExtension(), [&owner] (const juce::File& file)
                        { return owner.saveBankFile (file); });
    }
    else
    {
        WindowComponent::buttonClicked (button);
    }
}

void OldStylePresetBrowserWindow::lookAndFeelChanged()
{
    WindowComponent::lookAndFeelChanged();

    if (auto* laf = dynamic_cast<ToolkitLookAndFeelMethods*> (&getLookAndFeel()))
    {
        juce::ImageButton* buttons[] = {&addGroup, &removeGroup, &copy, &paste, &up, &down};

        for (size_t i = 0; i < std::size (buttons); ++i)
            laf->setImageButtonImages (*buttons[i], iconButtons[i].icon, laf->getStandardIconSize());
    }

    resized();
}

void OldStylePresetBrowserWindow::childBoundsChanged (juce::Component* child)
{
    // The rows grow when their buttons take their images.
    if (child == &buttonRow || child == &fileRow)
        resized();
}

void OldStylePresetBrowserWindow::resized()
{
    WindowComponent::resized();
    auto area = getContentArea();
    buttonRow.setTopLeftPosition (area.getTopLeft());
    fileRow.setTopLeftPosition (area.getRight() - fileRow.getWidth(), area.getBottom() - fileRow.getHeight());
    // The columns keep the same gap from the file row below them as from the buttons
    // beside them; without it the row sat on the columns' edge.
    area.removeFromLeft (buttonRow.getWidth() + rowGap);
    area.removeFromBottom (fileRow.getHeight() + rowGap);

    if (browser != nullptr)
        browser->setBounds (area);
}
