#include "gui/controls/FileChooserLauncher.h"

#include "gui/controls/LiftedWindow.h"
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
class FileChooserLauncher::ChooserWindow : private BrowserParts, public juce::FileChooserDialogBox, private LiftedWindow::Client
{
public:
    ChooserWindow (int flags, const juce::String& title, const juce::File& initialFile, const juce::String& wildcard,
                   juce::Component* over, std::function<void()> onPlaceGoneToUse)
        : BrowserParts (flags, initialFile, wildcard)
        , juce::FileChooserDialogBox (title, {}, browser, false,
                                      (over != nullptr ? over->getLookAndFeel() : juce::LookAndFeel::getDefaultLookAndFeel())
                                          .findColour (juce::AlertWindow::backgroundColourId),
                                      nullptr)
        , place (over)
        , onPlaceGone (std::move (onPlaceGoneToUse))
    {
        if (over != nullptr)
            setLookAndFeel (&over->getLookAndFeel());

        for (auto* child : browser.getChildren())
            if (auto* editor = dynamic_cast<juce::TextEditor*> (child))
                nameBox = editor;

        liftedWindow.setFocusTarget (nameBox);

        // The box keeps Escape from the Cancel button's shortcut: it cancels from there too.
        if (nameBox != nullptr)
            nameBox->onEscapeKey = [this]
            { exitModalState (0); };
    }

    ~ChooserWindow() override
    {
        exitModalState (0);
        liftedWindow.lower();
        setLookAndFeel (nullptr);
    }

    void open (std::function<void (int)> onClosed)
    {
        centreWithDefaultSize (nullptr);

        if (auto* over = place.getComponent(); over != nullptr && over->isShowing())
            liftedWindow.lift (*over, std::nullopt);

        enterModalState (true, juce::ModalCallbackFunction::create (std::move (onClosed)), false);
    }

    juce::File getChosenFile() const
    {
        return browser.getNumSelectedFiles() > 0 ? browser.getSelectedFile (0) : juce::File();
    }

private:
    // The window itself takes the focus when the window system gives it: the keys typed
    // straight after belong in the name box.
    void focusGained (FocusChangeType) override
    {
        if (nameBox != nullptr && hasKeyboardFocus (false))
            nameBox->grabKeyboardFocus();
    }

    // The host closed the editor: the chooser goes with it, as if cancelled.
    void liftedPlaceGone() override
    {
        if (onPlaceGone)
            onPlaceGone();
    }

    juce::Component::SafePointer<juce::Component> place;
    std::function<void()> onPlaceGone;
    juce::TextEditor* nameBox = nullptr;
    LiftedWindow liftedWindow{*this, *this};
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

    window = std::make_unique<ChooserWindow> (flags, title, initialFile, wildcard, parent.getComponent(), [this]
                                              { close(); });
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
