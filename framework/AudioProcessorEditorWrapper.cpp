#include "framework/AudioProcessorEditorWrapper.h"

AudioProcessorEditorWrapper::AudioProcessorEditorWrapper (juce::AudioProcessor& processor,
                                                          juce::Component& editorComponent)
    : juce::AudioProcessorEditor (processor)
    , content (&editorComponent)
{
    editorComponent.setVisible (true);
    editorComponent.setTopLeftPosition (0, 0);
    addAndMakeVisible (editorComponent);
    setSize (editorComponent.getWidth(), editorComponent.getHeight());
}

AudioProcessorEditorWrapper::~AudioProcessorEditorWrapper()
{
    if (auto* component = content.getComponent())
    {
        component->setVisible (false);
        removeChildComponent (component);
    }
}
