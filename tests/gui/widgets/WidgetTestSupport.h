#pragma once

#include "../../MessagePump.h"
#include "framework/BoolParameter.h"
#include "framework/EventNameMap.h"
#include "framework/FloatParameter.h"
#include "framework/IntParameter.h"
#include "framework/ParameterManager.h"
#include "framework/StringParameter.h"
#include "gui/widgets/GUIController.h"
#include "gui/widgets/SkinImages.h"
#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <string>
#include <vector>

namespace widgettest
{
/** Frame k of a synthetic filmstrip is filled with this colour. */
inline juce::Colour frameColour (int k)
{
    return juce::Colour::fromRGB ((juce::uint8) (1 + k * 3), (juce::uint8) (250 - k * 2), (juce::uint8) (40 + (k % 7) * 30));
}

inline juce::Image makeStrip (int width, int frameHeight, int frames)
{
    juce::Image image (juce::Image::ARGB, width, frameHeight * frames, true);
    juce::Graphics g (image);

    for (int k = 0; k < frames; ++k)
    {
        g.setColour (frameColour (k));
        g.fillRect (0, k * frameHeight, width, frameHeight);
    }

    return image;
}

/** Registers a strip under a logical name, as if it were embedded; keep the result alive. */
inline juce::Image addStrip (const juce::String& name, int width, int frameHeight, int frames)
{
    auto image = makeStrip (width, frameHeight, frames);
    SkinImages::add (name, image);
    return image;
}

inline juce::Colour pixelAt (juce::Component& c, int x, int y)
{
    auto snapshot = c.createComponentSnapshot (c.getLocalBounds(), true, 1.0f);
    return snapshot.getPixelAt (x, y);
}

/** The filmstrip frame shown at a point (the centre by default); -1 when no frame colour is there. */
inline int shownFrame (juce::Component& c, int frames = 64, int x = -1, int y = -1)
{
    if (c.getWidth() <= 0 || c.getHeight() <= 0)
        return -1;

    const auto pixel = pixelAt (c, x < 0 ? c.getWidth() / 2 : x, y < 0 ? c.getHeight() / 2 : y);

    for (int k = 0; k < frames; ++k)
        if (pixel == frameColour (k))
            return k;

    return -1;
}

/** A component as an open window keeps it: painted in full once, and from then on only
    where something was repainted; set up before the changes it is to watch. */
class RetainedPicture
{
public:
    explicit RetainedPicture (juce::Component& c)
        : component (c)
    {
        // Repaints reach the buffer only through visible components.
        component.setVisible (true);
        component.setBufferedToImage (true);
        (void) shown();
    }

    ~RetainedPicture() { component.setBufferedToImage (false); }

    /** What the window shows once it has repainted what was invalidated. */
    juce::Image shown() const
    {
        juce::Image image (juce::Image::ARGB, component.getWidth(), component.getHeight(), true);
        juce::Graphics g (image);
        component.getCachedComponentImage()->paint (g);
        return image;
    }

    /** What a window opened now shows. */
    juce::Image fresh() const { return component.createComponentSnapshot (component.getLocalBounds(), true, 1.0f); }

    /** The pixels where the two differ, as one rectangle; empty when they agree. */
    juce::Rectangle<int> difference() const
    {
        const auto a = shown(), b = fresh();
        juce::Rectangle<int> area;

        for (int y = 0; y < a.getHeight(); ++y)
            for (int x = 0; x < a.getWidth(); ++x)
                if (a.getPixelAt (x, y) != b.getPixelAt (x, y))
                    area = area.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : area.getUnion ({x, y, 1, 1});

        return area;
    }

private:
    juce::Component& component;
};

inline std::unique_ptr<juce::XmlElement> xml (const juce::String& text)
{
    return juce::parseXML (text);
}

inline juce::MouseEvent mouseEvent (juce::Component& c, float x, float y, juce::ModifierKeys mods = juce::ModifierKeys::leftButtonModifier,
                                    juce::Point<float> downAt = {-1.0f, -1.0f})
{
    const auto now = juce::Time::getCurrentTime();
    const juce::Point<float> position (x, y);
    const auto down = downAt.x < 0.0f ? position : downAt;

    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position, mods,
                             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY, &c, &c, now, down, now, 1, position != down);
}

/** Widgets' mouse handlers through the public component interface. */
inline juce::Component& comp (juce::Component& c)
{
    return c;
}

inline juce::ModifierKeys ctrlClick()
{
    return juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier | juce::ModifierKeys::ctrlModifier);
}

/** Runs the message loop for a while, so that timers fire. */
inline void pumpFor (int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) milliseconds;

    while (juce::Time::getMillisecondCounter() < end)
    {
        pumpPendingMessages();
        juce::Thread::sleep (1);
    }

    pumpPendingMessages();
}

/** Runs the message loop until the condition holds (or a second has passed). */
template <typename Condition>
bool pumpUntil (Condition&& condition)
{
    const auto end = juce::Time::getMillisecondCounter() + 1000;

    while (!condition() && juce::Time::getMillisecondCounter() < end)
    {
        pumpPendingMessages();
        juce::Thread::sleep (1);
    }

    return condition();
}

/** Records every call of the widget listener interface and of parameter gestures, in order. */
struct Recorder : public GUIController::Listener, public Parameter::Listener
{
    explicit Recorder (std::vector<std::string>& logToUse, std::string nameToUse = "L")
        : log (logToUse)
        , name (std::move (nameToUse))
    {
    }

    void controllerGestureBegin (GUIController*) override { log.push_back (name + ".begin"); }
    void controllerGestureEnd (GUIController*) override { log.push_back (name + ".end"); }
    void controllerValueChanged (GUIController*) override { log.push_back (name + ".value"); }
    void controllerEvent (GUIController*, int uid) override { log.push_back (name + ".event " + std::to_string (uid)); }

    void parameterChanged (Parameter*) override { log.push_back (name + ".param"); }
    void parameterChangeGestureBegin (Parameter*) override { log.push_back (name + ".gestureBegin"); }
    void parameterChangeGestureEnd (Parameter*) override { log.push_back (name + ".gestureEnd"); }

    std::vector<std::string>& log;
    std::string name;
};

/** A small parameter store and event map for loading widgets. */
struct SkinContext
{
    SkinContext()
    {
        parameters.addParameter (std::make_unique<FloatParameter> (0, "Level", 0.0f, 1.0f, 0.0f));
        parameters.addParameter (std::make_unique<FloatParameter> (1, "Tune", 0.0f, 1.0f, 0.0f));
        parameters.addParameter (std::make_unique<BoolParameter> (2, "Mute", 0));
        parameters.addParameter (std::make_unique<IntParameter> (3, "Output", 1, 8, 1));
        parameters.addParameter (std::make_unique<StringParameter> (4, "Name", "INIT"));
        parameters.addParameter (std::make_unique<IntParameter> (5, "Pattern", 0, 127, 0));
        parameters.addParameter (std::make_unique<FloatParameter> (6, "Tempo", 30.0f, 300.0f, 120.0f));
        parameters.addParameter (std::make_unique<BoolParameter> (7, "Mute 2", 0));
        parameters.addParameter (std::make_unique<BoolParameter> (8, "Mute 3", 0));

        events.add (10, "Tap Bass Drum");
        events.add (11, "Select Next Preset");
        events.add (12, "Less");
        events.add (13, "More");
        events.add (14, "Less Ctrl");
        events.add (15, "More Ctrl");
    }

    template <typename Widget>
    void load (Widget& widget, const juce::String& text)
    {
        auto element = xml (text);
        ASSERT_NE (element, nullptr) << text;
        widget.loadFromXml (*element, parameters, events, nullptr);
    }

    Parameter* param (const char* name) { return parameters.getParameter (juce::String (name)); }

    ParameterManager parameters;
    EventNameMap events;
};
} // namespace widgettest
