#include "editor/BasePluginEditor.h"

#include "editor/AboutWindow.h"
#include "editor/MidiControlComponent.h"
#include "editor/OptionsWindow.h"
#include "framework/BasePlugin.h"
#include "framework/BoolParameter.h"
#include "framework/EmbeddedResources.h"
#include "framework/IntParameter.h"
#include "framework/XmlDocuments.h"
#include "gui/EmbeddedFonts.h"
#include "gui/widgets/GFXAnimation.h"
#include "gui/widgets/GFXButton.h"
#include "gui/widgets/GFXKnob.h"
#include "gui/widgets/GFXMultiStateButton.h"
#include "gui/widgets/GFXPanel.h"
#include "gui/widgets/GFXSwitch.h"
#include "gui/widgets/GFXToggleButton.h"
#include "gui/widgets/SkinElement.h"
#include "gui/widgets/SkinImages.h"

namespace
{
const juce::String* skinOverride = nullptr; // message thread (tests)

constexpr int optionsEvent = 1000;
constexpr int aboutEvent = 1001;
constexpr int midiLearnEvent = 1010;

constexpr int cellWidth = 64;
constexpr int rowHeight = 120;
constexpr int firstRowTop = 30;

template <typename Widget>
std::unique_ptr<juce::Component> makeWidget (const juce::String& name, GUIController*& controller)
{
    auto widget = std::make_unique<Widget> (name);
    controller = widget.get();
    return widget;
}

/** A skin element that places a widget without image and links it, so the skinless
    controls are read like skin widgets. */
juce::XmlElement makeDefaultControlElement (const juce::String& tag, const Parameter& parameter, int x, int y,
                                            int width, int height)
{
    juce::XmlElement element (tag);
    auto* link = element.createNewChildElement ("links")->createNewChildElement ("link");
    link->setAttribute ("as", "connectedTo");
    link->setAttribute ("param", parameter.getName());
    auto* size = element.createNewChildElement ("size");
    size->setAttribute ("width", width);
    size->setAttribute ("height", height);
    auto* pos = element.createNewChildElement ("pos");
    pos->setAttribute ("left", x);
    pos->setAttribute ("top", y);
    return element;
}
} // namespace

//==============================================================================
BasePluginEditor::ScopedSkinOverride::ScopedSkinOverride (const juce::String& skinText)
    : previous (skinOverride)
    , text (skinText)
{
    skinOverride = &text;
}

BasePluginEditor::ScopedSkinOverride::~ScopedSkinOverride()
{
    skinOverride = previous;
}

//==============================================================================
BasePluginEditor::BasePluginEditor (BasePlugin& pluginToUse)
    : plugin (pluginToUse)
{
    // Controls measure text before they join this editor, with JUCE's default look and feel,
    // and text in the default font reaches ours: both take the embedded face for it, so that
    // building the panel never makes JUCE scan the system's font folders.
    const auto face = EmbeddedFonts::tahoma (13.0f).getTypefacePtr();
    juce::LookAndFeel::getDefaultLookAndFeel().setDefaultSansSerifTypeface (face);
    lookAndFeel.setDefaultSansSerifTypeface (face);
    setLookAndFeel (&lookAndFeel);

    statusBar = std::make_unique<StatusBar>();
    addAndMakeVisible (*statusBar);
    statusBar->toFront (false);

    aboutWindow = std::make_unique<AboutWindow> (plugin);
    aboutWindow->setSize (640, 480);
    addChildComponent (*aboutWindow);

    optionsWindow = std::make_unique<OptionsWindow>();
    optionsWindow->setTitle ("Options");
    optionsWindow->getTabbedComponent().addListener (this);
    optionsWindow->setSize (800, 600);
    addChildComponent (*optionsWindow);

    const auto prefix = plugin.getPluginPrefix();
    midiControlComponent = std::make_unique<MidiControlComponent> (plugin.getMidiControl(),
                                                                   ("." + prefix + "ccmap").toLowerCase(),
                                                                   ("*." + prefix + "ccmap").toLowerCase());
    midiControlComponent->getDefaultMapCheckBox().addListener (this);
    plugin.getMidiControl().addListener (this);
    optionsWindow->addTab ("Midi Control", midiControlComponent.get(), -1);

    plugin.getParameterManager().addAsyncListenerToAll (this);

    setEditorSize (defaultWidth, defaultHeight);

    if (auto skin = loadSkinDocument())
        skinLoaded = buildFromSkin (*skin);

    midiLearnButton = findControlAs<GFXMultiStateButton> ("MidiLearnButton");
    midiActivityLed = findControlAs<GFXAnimation> ("MidiActivityLed");
}

BasePluginEditor::~BasePluginEditor()
{
    stopTimer();
    plugin.getMidiControl().removeListener (this);
    plugin.getParameterManager().removeAsyncListenerFromAll (this);

    debugPanel.reset();
    statusBar.reset();
    tooltipWindow.reset();
    defaultControls.clear();

    aboutWindow.reset();
    midiControlComponent.reset();
    optionsWindow.reset();

    {
        const juce::ScopedLock sl (controllersLock);
        controllers.clear();
    }

    skinComponents.clear();

    // Nothing may still point at the look and feel when it goes with this object.
    setLookAndFeel (nullptr);
}

//==============================================================================
std::unique_ptr<juce::XmlElement> BasePluginEditor::loadSkinDocument()
{
    const auto text = skinOverride != nullptr ? *skinOverride : loadXmlResource ("skin.xml");

    if (text.isEmpty())
        return nullptr;

    return parseXmlText (text);
}

bool BasePluginEditor::buildFromSkin (const juce::XmlElement& root)
{
    // Another root builds nothing and counts as no skin, so the skinless panel shows.
    if (!SkinElement::hasTag (root, "PluginEditor"))
        return false;

    auto background = SkinImages::load (SkinElement::getString (root, "background", "Background.png"));

    if (background.isValid())
    {
        backgroundImage = background;
        setEditorSize (background.getWidth(), background.getHeight());
    }

    auto& parameters = plugin.getParameterManager();
    auto& events = plugin.getEventNameMap();

    for (auto* element : root.getChildIterator())
    {
        GUIController* controller = nullptr;
        // Only the top-level tags: keyboards, wheels and the like live inside panels.
        auto component = GFXPanel::createTopLevelWidget (*element, controller);

        if (component == nullptr)
            continue;

        auto* added = skinComponents.add (component.release());

        {
            const juce::ScopedLock sl (controllersLock);
            controllers.add (controller);
        }

        controller->loadFromXml (*element, parameters, events, this);
        added->setVisible (true);

        // Behind the widgets made before it: the first element of the skin is on top.
        addChildComponent (added, 1);
    }

    for (int i = 0; i < getNumControllers(); ++i)
        if (auto* controller = getController (i))
            controller->addListener (this);

    return true;
}

int BasePluginEditor::getNumControllers() const
{
    const juce::ScopedLock sl (controllersLock);
    return controllers.size();
}

GUIController* BasePluginEditor::getController (int index) const
{
    const juce::ScopedLock sl (controllersLock);
    return controllers[index];
}

//==============================================================================
void BasePluginEditor::createDefaultControls()
{
    if (skinLoaded)
        return;

    const int usable = getWidth() - 10;
    int columns = usable / cellWidth;

    if (columns * cellWidth - 14 < usable)
        ++columns;

    int column = 0;
    int rowTop = firstRowTop;
    auto& parameters = plugin.getParameterManager();
    auto& events = plugin.getEventNameMap();

    for (int uid = 0; uid < plugin.getNumHostParameters(); ++uid)
    {
        if (auto* parameter = parameters.getParameter (uid))
        {
            std::unique_ptr<juce::Component> component;
            GUIController* controller = nullptr;
            juce::String tag;

            if (dynamic_cast<BoolParameter*> (parameter) != nullptr)
            {
                component = makeWidget<GFXToggleButton> (parameter->getName(), controller);
                tag = "ToggleButton";
            }
            else if (dynamic_cast<IntParameter*> (parameter) != nullptr) // enumerations too
            {
                component = makeWidget<GFXSwitch> (parameter->getName(), controller);
                tag = "Switch";
            }
            else
            {
                component = makeWidget<GFXKnob> (parameter->getName(), controller);
                tag = "Knob";
            }

            auto* added = defaultControls.add (component.release());
            controller->loadFromXml (makeDefaultControlElement (tag, *parameter, column * cellWidth + 5, rowTop, 50, 80),
                                     parameters, events, this);
            added->setBounds (column * cellWidth + 5, rowTop, 50, 80);
            controller->addListener (this);
            added->setVisible (true);
            addChildComponent (added, 1);
            ++column;
        }

        if (skipCellAfterParameter (uid))
            ++column;

        if (startRowAfterParameter (uid) || column >= columns)
        {
            rowTop += rowHeight;
            column = 0;
        }
    }
}

void BasePluginEditor::createDebugPanel()
{
    debugPanel = std::make_unique<GFXPanel> ("DebugPanel");
    debugPanel->setBounds (getWidth() - 610, getHeight() - 150, 600, 140);
    // The debug parameters and events exist only in builds that enable debugging.
    auto& parameters = plugin.getParameterManager();
    auto& events = plugin.getEventNameMap();

    for (int n = 0; n < 12; ++n)
    {
        if (auto* parameter = parameters.getParameter (300000 + n))
        {
            auto* knob = new GFXKnob ("Debug Knob " + juce::String (n));
            defaultControls.add (knob);
            knob->loadFromXml (makeDefaultControlElement ("Knob", *parameter, n * 50, 0, 40, 90), parameters, events, this);
            knob->setBounds (n * 50, 0, 40, 90);
            knob->addListener (static_cast<GUIController::Listener*> (this));
            debugPanel->addAndMakeVisible (knob);
        }

        juce::XmlElement element ("Button");
        auto* action = element.createNewChildElement ("actions")->createNewChildElement ("action");
        action->setAttribute ("type", "onClick");
        action->setAttribute ("event", events.getName (10000 + n));
        auto* button = new GFXButton ("Debug Button " + juce::String (n));
        defaultControls.add (button);
        button->loadFromXml (element, parameters, events, this);
        button->setBounds (n * 50, 100, 20, 20);
        button->addListener (static_cast<GUIController::Listener*> (this));
        debugPanel->addAndMakeVisible (button);
    }

    addAndMakeVisible (*debugPanel);
    debugPanel->toFront (false);
}

bool BasePluginEditor::skipCellAfterParameter (int)
{
    return false;
}
bool BasePluginEditor::startRowAfterParameter (int)
{
    return false;
}
bool BasePluginEditor::hasStatusBar()
{
    return true;
}

//==============================================================================
juce::Component* BasePluginEditor::findControl (const juce::String& name) const
{
    std::function<juce::Component*(const juce::Component&)> search = [&] (const juce::Component& parent) -> juce::Component*
    {
        // Children in z-order, front first.
        for (int i = parent.getNumChildComponents(); --i >= 0;)
            if (auto* child = parent.getChildComponent (i); child->getName() == name)
                return child;

        for (int i = parent.getNumChildComponents(); --i >= 0;)
            if (auto* found = search (*parent.getChildComponent (i)))
                return found;

        return nullptr;
    };

    return search (*this);
}

void BasePluginEditor::setEditorSize (int width, int height)
{
    panelHeight = height;
    int totalHeight = height;

    if (statusBar != nullptr && hasStatusBar())
    {
        totalHeight += statusBar->getHeight();
        statusBar->setBounds (0, panelHeight, width, statusBar->getHeight());
    }

    setSize (width, totalHeight);

    if (auto* parent = getParentComponent())
        parent->setSize (width, totalHeight);
}

//==============================================================================
void BasePluginEditor::controllerValueChanged (GUIController* controller)
{
    controlTouched (controller->getParameter());
}

void BasePluginEditor::controllerEvent (GUIController* controller, int uid)
{
    switch (uid)
    {
        case optionsEvent:
            optionsWindow->show();
            statusBar->clearMessage (-1);
            break;

        case aboutEvent:
            aboutWindow->show();
            break;

        case midiLearnEvent:
        {
            auto& map = plugin.getMidiControl();
            bool learning;

            {
                const juce::ScopedLock sl (map.getLock());
                learning = map.isLearnMode();
            }

            map.setLearnMode (!learning);
            break;
        }

        default:
            plugin.handleEvent (uid);
            controlTouched (controller != nullptr ? controller->getParameter() : nullptr);
            break;
    }
}

void BasePluginEditor::controlTouched (Parameter* parameter)
{
    if (parameter == nullptr)
        return;

    auto& map = plugin.getMidiControl();
    bool learning;

    {
        const juce::ScopedLock sl (map.getLock());
        learning = map.isLearnMode();
    }

    if (learning && parameter->isAuto())
        map.learnParameter (parameter);

    const auto text = plugin.getParameterTextById (parameter->getUid());

    if (text.isNotEmpty())
        statusBar->setMessage (parameter->getName() + ": " + text, valuePriority, statusTimeoutMs);
}

void BasePluginEditor::showSettingsNote (const juce::String& name)
{
    statusBar->setMessage (name + " settings will be affected when plugin is loaded.", hintPriority);
}

void BasePluginEditor::midiLearnStateChanged (MidiControl& map)
{
    showLearnState (map);
}

void BasePluginEditor::showLearnState (MidiControl& map)
{
    bool learning;
    int controller;
    Parameter* parameter;

    {
        const juce::ScopedLock sl (map.getLock());
        learning = map.isLearnMode();
        controller = map.getLearnController();
        parameter = map.getLearnParameter();
    }

    if (!learning)
        statusBar->clearMessage (-1);
    else if (controller < 0 && parameter == nullptr)
        statusBar->setMessage ("Waiting for a controller or parameter movement...", learnPriority);
    else if (controller < 0)
        statusBar->setMessage ("'" + parameter->getName() + "' parameter is free. Waiting for a free controller now...",
                               learnPriority);
    else if (parameter == nullptr)
        statusBar->setMessage ("CC# " + juce::String (controller) + " is free. Waiting for a parameter now...", learnPriority);
    else
        statusBar->setMessage ("CC# " + juce::String (controller) + " is assigned to parameter '" + parameter->getName() + "'.",
                               learnPriority);

    if (midiLearnButton != nullptr)
        midiLearnButton->setStateIndex (learning ? 1 : 0);
}

void BasePluginEditor::midiControllerMoved (MidiControl& map)
{
    if (auto* parameter = map.getLastMovedParameter())
        statusBar->setMessage (parameter->getName() + ": " + plugin.getParameterTextById (parameter->getUid()),
                               controllerPriority, statusTimeoutMs);
}

void BasePluginEditor::defaultResourceChanged (DefaultResourceCheckBox* box)
{
    if (midiControlComponent != nullptr && box == &midiControlComponent->getDefaultMapCheckBox())
        showSettingsNote ("Default Map");
}

void BasePluginEditor::tabChanged (TabbedComponentEx* tabs)
{
    if (optionsWindow != nullptr && tabs == &optionsWindow->getTabbedComponent())
        statusBar->clearMessage (-1);
}

//==============================================================================
void BasePluginEditor::timerCallback()
{
    // The host hides the component while its window is closed: nothing to refresh then.
    if (isVisible())
        refresh();
}

bool BasePluginEditor::takeMidiActivity()
{
    return false;
}

void BasePluginEditor::refresh()
{
    if (midiActivityLed != nullptr && takeMidiActivity())
    {
        midiActivityLed->flash (flashMs);
    }
}

//==============================================================================
void BasePluginEditor::paint (juce::Graphics& g)
{
    if (backgroundImage.isValid())
    {
        g.drawImageAt (backgroundImage, 0, 0);
        return;
    }

    g.fillAll (juce::Colour::greyLevel (0.9f));
    g.setColour (juce::Colours::black);
    g.setFont (lookAndFeel.getDefaultFont());
    g.drawText (plugin.getPluginName(), 5, 5, getWidth() - 10, 20, juce::Justification::topLeft, false);
}

void BasePluginEditor::resized()
{
    if (statusBar != nullptr && statusBar->isVisible() && hasStatusBar())
        statusBar->setBounds (0, panelHeight, getWidth(), statusBar->getHeight());

    repaint();
}

void BasePluginEditor::parentHierarchyChanged()
{
    createTooltipWindowWhenShown();
}

void BasePluginEditor::visibilityChanged()
{
    createTooltipWindowWhenShown();
}

void BasePluginEditor::createTooltipWindowWhenShown()
{
    // Made on the first showing, not while the instance starts: a tooltip window reaches
    // for the desktop, which connects to the window system (there may be none) and asks
    // it for its theme in a child process.
    if (tooltipWindow != nullptr || !isShowing())
        return;

    // Given the editor as parent, the tooltip window never becomes a desktop window.
    tooltipWindow = std::make_unique<juce::TooltipWindow> (this, 850);
    tooltipWindow->setOpaque (false);
}

void BasePluginEditor::childBoundsChanged (juce::Component* child)
{
    if (child != nullptr && child == statusBar.get())
        setEditorSize (getWidth(), panelHeight);
}
