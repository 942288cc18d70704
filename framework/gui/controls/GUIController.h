#pragma once

#include "framework/gui/controls/BlinkingComponent.h"
#include "framework/parameters/Parameter.h"

#include <juce_gui_basics/juce_gui_basics.h>

class ParameterManager;
class EventsMap;

// The non-visual half of every skin-built control: the parameter it shows, the listeners it
// tells about user edits, drags and events, and its configuration from a skin element.
class GUIController : public Parameter::Listener, public BlinkingComponent
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        // Kept for the slot order of the interface; no control of the skin raises it.
        virtual void controllerReserved(GUIController*) {}
        virtual void controllerGestureBegan(GUIController*) {}
        virtual void controllerGestureEnded(GUIController*) {}
        virtual void controllerValueChanged(GUIController*) {}
        virtual void controllerEventTriggered(GUIController*, int /*eventId*/) {}
    };

    ~GUIController() override;

    void parameterChanged(Parameter* parameter) override { updateFromParameter(parameter); }

    virtual void addAction(const juce::String& type, int eventId, const juce::String& displayName) {}
    virtual void updateFromParameter(Parameter* parameter) {}
    virtual void addListener(Listener* listener);
    // The "links" and "actions" of the element; the editor is needed only by panels.
    virtual void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                             const EventsMap& events, juce::Component* editor);

    // Makes the parameter the connected one (leaving the previous one's listeners).
    void connectTo(Parameter* parameter);
    Parameter* getConnectedParameter() const noexcept { return connectedParameter; }
    const juce::Array<Listener*>& getListeners() const noexcept { return listeners; }

protected:
    // Each goes to the listeners from the last added to the first.
    void sendEventTriggered(int eventId);
    void sendValueChanged();
    // Gestures go to the parameter's synchronous listeners first (the host hears of the drag),
    // then to the control's listeners; nothing without a connected parameter.
    void sendGestureBegan();
    void sendGestureEnded();

private:
    template <typename Call> void callListeners(Call call);

    juce::Array<Listener*> listeners;
    Parameter* connectedParameter = nullptr;
};
