#include "framework/processor/AudioProcessorEditorWrapper.h"

AudioProcessorEditorWrapper::AudioProcessorEditorWrapper(juce::AudioProcessor& processor,
                                                         juce::Component& persistentEditor)
    : juce::AudioProcessorEditor(processor), editor(persistentEditor)
{
    editor.setVisible(true);
    addChildComponent(editor);
    setSize(editor.getWidth(), editor.getHeight());
}

AudioProcessorEditorWrapper::~AudioProcessorEditorWrapper()
{
    editor.setVisible(false);
    removeChildComponent(&editor);
}

void AudioProcessorEditorWrapper::resized()
{
    editor.setTopLeftPosition(0, 0);
}
