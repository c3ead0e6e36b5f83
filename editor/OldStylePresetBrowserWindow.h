#pragma once

#include "editor/OldStylePresetsBrowser.h"
#include "framework/Parameter.h"
#include "gui/controls/ComponentRow.h"
#include "gui/controls/DocumentFileChooser.h"
#include "gui/controls/WindowComponent.h"
#include "gui/widgets/TextButtonEx.h"

#include <memory>

class BasePluginOldStyle;

/** The preset browser: groups and presets in two columns, buttons to add and
    remove groups, copy, paste and step through presets, and the preset and bank
    files. It follows the current preset while hidden, so it opens on it. */
class OldStylePresetBrowserWindow : public WindowComponent,
                                    public Parameter::Listener
{
public:
    static constexpr int defaultWidth = 639;
    static constexpr int defaultHeight = 350;

    explicit OldStylePresetBrowserWindow (BasePluginOldStyle& plugin);
    ~OldStylePresetBrowserWindow() override;

    /** "Add Group" with one group row selected; "Rem Group" when that group is empty. */
    void updateButtons();

    OldStylePresetsBrowser& getBrowser() noexcept { return *browser; }
    juce::ImageButton* getImageButton (const juce::String& name) const;
    TextButtonEx& getPresetLoadButton() noexcept { return presetLoad; }
    TextButtonEx& getPresetSaveButton() noexcept { return presetSave; }
    TextButtonEx& getBankLoadButton() noexcept { return bankLoad; }
    TextButtonEx& getBankSaveButton() noexcept { return bankSave; }
    ComponentRow& getButtonRow() noexcept { return buttonRow; }
    ComponentRow& getFileRow() noexcept { return fileRow; }

    /** The preset and bank files' dialogs (tests give them a scripted launcher). */
    DocumentFileChooser& getDocumentChooser() noexcept { return documents; }

    bool dimsBackground() override;
    void parameterChanged (Parameter* parameter) override;
    void buttonClicked (juce::Button* button) override;
    void lookAndFeelChanged() override;
    void resized() override;
    void childBoundsChanged (juce::Component* child) override;

private:
    void addLabel (juce::Label& label, const juce::String& text);

    BasePluginOldStyle& plugin;
    std::unique_ptr<OldStylePresetsBrowser> browser;
    ComponentRow buttonRow{ComponentRow::column, ComponentRow::start, 2};
    ComponentRow fileRow{ComponentRow::row, ComponentRow::centre, 4};
    juce::ImageButton addGroup{"Add Group"}, removeGroup{"Rem Group"}, copy{"Copy"}, paste{"Paste"}, up{"Up"}, down{"Down"};
    juce::Label presetLabel, bankLabel;
    TextButtonEx presetLoad{"Load", 0}, presetSave{"Save", 0}, bankLoad{"Load", 0}, bankSave{"Save", 0};
    DocumentFileChooser documents{*this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OldStylePresetBrowserWindow)
};
