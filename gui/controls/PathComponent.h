#pragma once

#include "gui/controls/FileChooserLauncher.h"
#include "gui/controls/LookAndFeelWatch.h"
#include "gui/controls/PlainTextButton.h"

#include <memory>

/** A file path shown in a field, with a "Browse" button that picks one existing
    file. A path wider than the field ends in a half-opaque "[...]" marker. */
class PathComponent : public juce::Component,
                      public juce::Button::Listener
{
public:
    enum ColourIds
    {
        fieldColourId = 0x0F002200,
        textColourId = 0x0F002201,
        outlineColourId = 0x0F002202
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void pathChanged (PathComponent* pathComponent) = 0;
    };

    static constexpr int buttonGap = 5;
    static constexpr int textInset = 4;

    PathComponent();
    ~PathComponent() override;

    /** Stores a path that differs from the current one (exactly: letter case counts
        on this platform), with notify telling the listeners. */
    void setPath (const juce::String& newPath, bool notify);
    const juce::String& getPath() const noexcept { return path; }

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    void setChooserTitle (const juce::String& title) { chooserTitle = title; }
    void setChooserInitialFile (const juce::File& file) { chooserInitialFile = file; }

    /** Where "Browse" opens instead of the initial file, asked at each opening: the owner's
        folder may have moved meanwhile. */
    void setChooserFolder (std::function<juce::File()> folder) { chooserFolder = std::move (folder); }
    void setChooserWildcard (const juce::String& wildcard) { chooserWildcard = wildcard; }

    /** Replaces the way the file chooser is opened (tests give a scripted one). */
    void setFileChooserLauncher (std::unique_ptr<FileChooserLauncher> launcher);

    PlainTextButton& getBrowseButton() noexcept { return browseButton; }
    juce::Rectangle<int> getTextArea() const noexcept { return textArea; }
    juce::Rectangle<int> getTextRect() const noexcept { return textRect; }
    bool isPathOverflowing() const noexcept;

    /** Opens the chooser, as the "Browse" button does. */
    void browse();

    void buttonClicked (juce::Button* button) override;
    void lookAndFeelChanged() override;
    void parentHierarchyChanged() override;
    void resized() override;
    void paint (juce::Graphics& g) override;

private:
    void measure();
    void notifyListeners();

    juce::String path;
    juce::Rectangle<int> textArea, textRect;
    PlainTextButton browseButton{"Browse", 1};
    juce::Font font{14.0f};
    int pathWidth = 0;
    int markerWidth = 0;
    const juce::String overflowMarker{"[...]"};
    juce::String chooserTitle;
    juce::File chooserInitialFile;
    std::function<juce::File()> chooserFolder;
    juce::String chooserWildcard;
    juce::Array<Listener*> listeners;
    std::unique_ptr<FileChooserLauncher> chooserLauncher;
    LookAndFeelWatch lookAndFeelWatch;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PathComponent)
};
