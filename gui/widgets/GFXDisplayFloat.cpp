#include "gui/widgets/GFXDisplayFloat.h"

void GFXDisplayFloat::updateFromParameter (Parameter* changed)
{
    setText (juce::String::formatted ("%.9g", (double) changed->getValue()));
}
