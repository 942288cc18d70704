#pragma once

#include "framework/platform/HostKeyboardFocus.h"

#include <juce_audio_processors/juce_audio_processors.h>

// What a host window owns: a thin frame that shows the persistent editor component without
// owning it, so closing the window loses nothing.
class AudioProcessorEditorWrapper : public juce::AudioProcessorEditor
{
public:
    AudioProcessorEditorWrapper(juce::AudioProcessor& processor, juce::Component& persistentEditor);
    ~AudioProcessorEditorWrapper() override;

    void resized() override;

private:
    juce::Component& editor;
    HostKeyboardFocus hostFocus{*this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(AudioProcessorEditorWrapper)
};
