#pragma once

#include "framework/events/EventsMap.h"
#include "framework/gui/controls/GUIController.h"
#include "framework/gui/skin/SkinLoader.h"
#include "framework/parameters/ParameterManager.h"

#include <gtest/gtest.h>

#include <vector>

// A bare parameter set, the events table and a listener that records what controls tell it:
// enough to build and drive any control without a processor.
struct RecordingListener : GUIController::Listener
{
    std::vector<std::string> calls;
    std::vector<int> events;

    void controllerGestureBegan(GUIController*) override { calls.push_back("began"); }
    void controllerGestureEnded(GUIController*) override { calls.push_back("ended"); }
    void controllerValueChanged(GUIController*) override { calls.push_back("changed"); }
    void controllerEventTriggered(GUIController*, int id) override
    {
        calls.push_back("event");
        events.push_back(id);
    }
};

struct GestureRecorder : Parameter::Listener
{
    int begins = 0, ends = 0, changes = 0;
    void parameterChanged(Parameter*) override { ++changes; }
    void parameterGestureBegin(Parameter*) override { ++begins; }
    void parameterGestureEnd(Parameter*) override { ++ends; }
};

class SkinFixture : public ::testing::Test
{
protected:
    SkinFixture()
    {
        auto xml = juce::parseXML(R"(<PluginParameters application="Kolvrane">
            <param index="0" name="Alpha" value="0.25" auto="1"/>
            <param index="1" name="Beta" value="0.75" auto="1"/>
            <param index="2" name="Flag" type="bool" value="0" auto="1"/>
            <param index="3" name="Flag 2" type="bool" value="0" auto="1"/>
            <param index="4" name="Flag 3" type="bool" value="0" auto="1"/>
            <param index="110001" name="Current Preset Name" type="string" value="Init"/>
        </PluginParameters>)");
        parameters.loadFromXml(*xml);
        events.addBuiltInEvents();
        events.add(0, "Toggle Distortion Function");
    }

    // Builds the control of one skin element, with the recorder as its listener.
    template <typename Kind> std::unique_ptr<Kind> build(const char* elementText)
    {
        auto element = juce::parseXML(elementText);
        EXPECT_NE(element, nullptr);
        auto built = createSkinControl(element->getTagName(), SkinScope::insidePanel);
        auto* kind = dynamic_cast<Kind*>(built.component.get());
        EXPECT_NE(kind, nullptr) << elementText;
        built.component.release();
        std::unique_ptr<Kind> control(kind);
        control->loadFromXml(*element, parameters, events, nullptr);
        static_cast<GUIController*>(control.get())->addListener(&recorder);
        control->setVisible(true);
        return control;
    }

    Parameter* parameter(const char* name) { return parameters.getParameterByName(name); }

    ParameterManager parameters;
    EventsMap events;
    RecordingListener recorder;
};

// A mouse event at a point of the component, as the library delivers it.
inline juce::MouseEvent mouseAt(juce::Component& component, juce::Point<float> position,
                                juce::Point<float> downAt, juce::ModifierKeys modifiers = {},
                                bool dragged = false)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), position, modifiers,
                            juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f, &component,
                            &component, now, downAt, now, 1, dragged);
}

// Runs the message loop until queued asynchronous work (parameter updates, clicks) is done.
inline void runMessageLoop(int milliseconds = 30)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil(milliseconds);
}

// Delivers a mouse event through the component's public interface, as the library does.
inline void send(void (juce::Component::*handler)(const juce::MouseEvent&), juce::Component& component,
                 const juce::MouseEvent& event)
{
    (component.*handler)(event);
}
