#include "gui/controls/FileChooserLauncher.h"

#include "gui/controls/LiftedEditWatcher.h"
#include "gui/controls/NativeWindows.h"
#include "gui/controls/PseudoModalComponent.h"

namespace
{
/** The browser and its filter, built before the window that shows them and gone after it. */
struct BrowserParts
{
    BrowserParts (int flags, const juce::File& initialFile, const juce::String& wildcard)
        : filter (wildcard, "*", {})
        , browser (flags, initialFile, &filter, nullptr)
    {
    }

    juce::WildcardFileFilter filter;
    juce::FileBrowserComponent browser;
};

/** Only a file that may be handed on: one the user chose that exists, when it must. */
bool isChoice (const juce::File& file, bool mustExist)
{
    return file != juce::File() && (!mustExist || file.existsAsFile());
}
} // namespace

//==============================================================================
class FileChooserLauncher::ChooserWindow : private BrowserParts, public juce::FileChooserDialogBox, private juce::Timer
{
public:
    ChooserWindow (int flags, const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                   juce::Component* over)
        : BrowserParts (flags, initialFile, wildcard)
        , juce::FileChooserDialogBox (title, {}, browser, false,
                                      (over != nullptr ? over->getLookAndFeel() : juce::LookAndFeel::getDefaultLookAndFeel())
                                          .findColour (juce::AlertWindow::backgroundColourId),
                                      nullptr)
        , place (over)
    {
        if (over != nullptr)
            setLookAndFeel (&over->getLookAndFeel());

        for (auto* child : browser.getChildren())
            if (auto* editor = dynamic_cast<juce::TextEditor*> (child))
                nameBox = editor;

        // The box keeps Escape from the Cancel button's shortcut: it cancels from there too.
        if (nameBox != nullptr)
            nameBox->onEscapeKey = [this]
            { exitModalState (0); };
    }

    ~ChooserWindow() override
    {
        stopTimer();
        const bool hadFocus = isOnDesktop() && NativeWindows::isFocusWithin (getWindowHandle());
        exitModalState (0);
        removeFromDesktop();

        // Destroying the focused window would drop the focus on the root window.
        if (hadFocus)
            NativeWindows::restoreFocus (focusBefore);

        setLookAndFeel (nullptr);
    }

    void open (std::function<void (int)> onClosed)
    {
        focusBefore = NativeWindows::saveFocus();
        centreWithDefaultSize (nullptr);

        if (auto* over = place.getComponent(); over != nullptr && over->isShowing())
        {
            setCentrePosition (LiftedEditWatcher::getScreenArea (*over, over->getLocalBounds()).getCentre());

            if (auto* peer = over->getPeer())
                NativeWindows::setDialogOf (getWindowHandle(), peer->getNativeHandle());
        }

        enterModalState (true, juce::ModalCallbackFunction::create (std::move (onClosed)), false);
        startTimer (50);
    }

    juce::File getChosenFile() const
    {
        return browser.getNumSelectedFiles() > 0 ? browser.getSelectedFile (0) : juce::File();
    }

private:
    void timerCallback() override
    {
        // The window manager maps and focuses the window in its own time, and until the window
        // system has put the focus in it the toolkit gives no component the keys.
        if (nameBox == nullptr || nameBox->hasKeyboardFocus (false) || ++ticks > 60)
        {
            stopTimer();
            return;
        }

        if (!isShowing())
            return;

        if (!NativeWindows::isFocusWithin (getWindowHandle()) && ticks % 10 == 1)
            toFront (true);

        nameBox->grabKeyboardFocus();
    }

    juce::Component::SafePointer<juce::Component> place;
    juce::TextEditor* nameBox = nullptr;
    NativeWindows::SavedFocus focusBefore;
    int ticks = 0;
};

//==============================================================================
FileChooserLauncher::FileChooserLauncher() = default;

FileChooserLauncher::~FileChooserLauncher()
{
    close();
}

void FileChooserLauncher::setParentAbove (juce::Component& component)
{
    auto* c = &component;

    while (c != nullptr && dynamic_cast<PseudoModalComponent::Desktop*> (c) == nullptr)
        c = c->getParentComponent();

    parent = c;
}

void FileChooserLauncher::launch (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                                  Callback onChosen)
{
    start (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles, title, initialFile, wildcard,
           std::move (onChosen), true);
}

void FileChooserLauncher::launchForSave (const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                                         Callback onChosen)
{
    start (juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles, title, initialFile, wildcard,
           std::move (onChosen), false);
}

void FileChooserLauncher::close()
{
    // A new token first: a choice already on its way to the callback finds the old one gone.
    alive = std::make_shared<int> (0);
    chooser.reset();
    window.reset();
}

juce::Component* FileChooserLauncher::getChooserWindow() const noexcept
{
    return window.get();
}

void FileChooserLauncher::start (int flags, const juce::String& title, const juce::File& initialFile,
                                 const juce::String& wildcard, Callback onChosen, bool mustExist)
{
    close();

    if (juce::FileChooser::isPlatformDialogAvailable())
    {
        startPlatformDialog (flags, title, initialFile, wildcard, std::move (onChosen), mustExist);
        return;
    }

    window = std::make_unique<ChooserWindow> (flags, title, initialFile, wildcard, parent.getComponent());
    window->open ([this, callback = std::move (onChosen), token = std::weak_ptr<int> (alive), mustExist] (int result)
                  {
        if (token.expired())
            return;

        const auto file = result != 0 ? window->getChosenFile() : juce::File();

        // Passed on from the message loop: the window is still returning from this call, and the
        // callback may start another chooser, which replaces it.
        juce::MessageManager::callAsync ([this, callback, token, file, mustExist]
                                         {
            if (token.expired())
                return;

            window.reset();

            if (isChoice (file, mustExist) && callback)
                callback (file); }); });
}

void FileChooserLauncher::startPlatformDialog (int flags, const juce::String& title, const juce::File& initialFile,
                                               const juce::String& wildcard, Callback onChosen, bool mustExist)
{
    // The helper program's window is a top-level window of its own, which takes the keys.
    chooser = std::make_unique<juce::FileChooser> (title, initialFile, wildcard, true, false, parent.getComponent());

    chooser->launchAsync (flags, [callback = std::move (onChosen), token = std::weak_ptr<int> (alive), mustExist] (const juce::FileChooser& fc)
                          {
        const auto file = fc.getResult();

        if (!isChoice (file, mustExist) || !callback)
            return;

        // Passed on from the message loop: the callback may start another chooser, which
        // replaces the one still returning from this call.
        juce::MessageManager::callAsync ([callback, token, file]
                                         {
            if (!token.expired())
                callback (file); }); });
}
