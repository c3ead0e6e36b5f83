#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** The host-side editor: made each time the host opens its window, around the editor
    component that the plug-in keeps for its whole life. It only borrows the component:
    on destruction the component is hidden and handed back, never deleted. */
class AudioProcessorEditorWrapper : public juce::AudioProcessorEditor
{
public:
    AudioProcessorEditorWrapper (juce::AudioProcessor& processor, juce::Component& editorComponent);
    ~AudioProcessorEditorWrapper() override;

    juce::Component* getEditorComponent() const noexcept { return content.getComponent(); }

private:
    // The plug-in may delete its editor first while shutting down.
    juce::Component::SafePointer<juce::Component> content;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AudioProcessorEditorWrapper)
};
