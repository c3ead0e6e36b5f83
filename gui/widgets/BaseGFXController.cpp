#include "gui/widgets/BaseGFXController.h"

#include "gui/widgets/SkinElement.h"
#include "gui/widgets/SkinImages.h"

#include <juce_gui_basics/juce_gui_basics.h>

void BaseGFXController::loadFromXml (const juce::XmlElement& element, ParameterManager& parameters, EventNameMap& events, void* context)
{
    GUIController::loadFromXml (element, parameters, events, context);
    readFilmstrip (element);

    if (!hasImage())
        readSize (element);

    readPosition (element);
}

void BaseGFXController::readFilmstrip (const juce::XmlElement& element)
{
    framesNum = 1;

    auto* gfx = SkinElement::getChild (element, "gfx");

    if (gfx == nullptr)
        return;

    framesNum = juce::jlimit (1, maxFrames, SkinElement::getInt (*gfx, "framesNum", 1));

    auto loaded = SkinImages::load (SkinElement::getString (*gfx, "resource"));

    if (loaded.isValid())
        setImage (loaded, framesNum);
}

void BaseGFXController::readSize (const juce::XmlElement& element)
{
    if (auto* size = SkinElement::getChild (element, "size"))
        setFrameSize (SkinElement::getInt (*size, "width", 0), SkinElement::getInt (*size, "height", 0));
}

void BaseGFXController::readPosition (const juce::XmlElement& element)
{
    if (auto* pos = SkinElement::getChild (element, "pos"))
        setPosition (SkinElement::getInt (*pos, "left", 0), SkinElement::getInt (*pos, "top", 0));
}

void BaseGFXController::setImage (const juce::Image& newImage, int newFramesNum)
{
    image = newImage;

    // A strip has at least one frame: the frame height divides by the count.
    framesNum = juce::jlimit (1, maxFrames, newFramesNum);

    if (image.isValid())
        setFrameSize (image.getWidth(), image.getHeight() / framesNum);
}

void BaseGFXController::setFrameSize (int width, int height)
{
    width = juce::jmax (0, width);
    height = juce::jmax (0, height);

    if (width == frameWidth && height == frameHeight)
        return;

    frameWidth = width;
    frameHeight = height;
    applyFrameSize();
}

void BaseGFXController::setPosition (int newLeft, int newTop)
{
    if (newLeft == left && newTop == top)
        return;

    left = newLeft;
    top = newTop;
    applyPosition();
}

void BaseGFXController::applyBoundsTo (juce::Component& component)
{
    component.setTopLeftPosition (left, top);
    component.setSize (frameWidth, frameHeight);
}

void BaseGFXController::drawFrame (juce::Graphics& g, int k) const
{
    if (!image.isValid() || k < 0 || k >= framesNum || frameWidth <= 0 || frameHeight <= 0)
        return;

    g.drawImage (image, 0, 0, frameWidth, frameHeight, 0, frameHeight * k, frameWidth, frameHeight);
}
