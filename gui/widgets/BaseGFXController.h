#pragma once

#include "gui/widgets/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** A skin widget drawn from a vertical filmstrip: frame k occupies the image rows
    frameHeight * k to frameHeight * (k + 1) - 1. */
class BaseGFXController : public GUIController
{
public:
    BaseGFXController() = default;

    /** Called whenever frameWidth or frameHeight changes. */
    virtual void applyFrameSize() {}

    /** Called whenever left or top changes. */
    virtual void applyPosition() {}

    /** Links and actions, then filmstrip, size (only without an image) and position. */
    void loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context) override;

    /** Stores the filmstrip and its frame count (1 to maxFrames) and recomputes the frame size. */
    void setImage (const juce::Image& newImage, int newFramesNum);

    /** More frames than any strip holds; keeps the frame arithmetic within int and float. */
    static constexpr int maxFrames = 1 << 20;

    const juce::Image& getImage() const noexcept { return image; }
    bool hasImage() const noexcept { return image.isValid(); }
    int getFramesNum() const noexcept { return framesNum; }
    int getFrameWidth() const noexcept { return frameWidth; }
    int getFrameHeight() const noexcept { return frameHeight; }
    int getLeft() const noexcept { return left; }
    int getTop() const noexcept { return top; }

protected:
    /** Copies frame k to the component's top-left corner; a frame outside the strip draws nothing. */
    void drawFrame (juce::Graphics& g, int k) const;

    void readFilmstrip (const juce::XmlElement& element);
    void readSize (const juce::XmlElement& element);
    void readPosition (const juce::XmlElement& element);
    void setFrameSize (int width, int height);
    void setPosition (int newLeft, int newTop);

    /** The reader's usual ending: the component at (left, top) with the frame size. */
    void applyBoundsTo (juce::Component& component);

    juce::Image image;
    int framesNum = 1;
    int frameWidth = 0, frameHeight = 0;
    int left = 0, top = 0;
};
