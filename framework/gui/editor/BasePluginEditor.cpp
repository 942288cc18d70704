#include "framework/gui/editor/BasePluginEditor.h"

#include "framework/gui/controls/BitmapSlider.h"
#include "framework/gui/controls/GFXToggleButton.h"
#include "framework/gui/skin/SkinLoader.h"
#include "framework/processor/BasePlugin.h"
#include "framework/resources/Resources.h"
#include "framework/xml/XmlRules.h"

namespace
{
constexpr int genericColumnWidth = 64;
constexpr int genericRowHeight = 120;
constexpr int genericFirstRowTop = 30;

BuiltSkinControl createGenericControl(const Parameter& parameter)
{
    if (dynamic_cast<const BoolParameter*>(&parameter) != nullptr)
        return createSkinControl("ToggleButton");
    if (dynamic_cast<const IntParameter*>(&parameter) != nullptr)
        return createSkinControl("Switch");
    return createSkinControl("Knob");
}
} // namespace

BasePluginEditor::BasePluginEditor(BasePlugin& owner) : plugin(owner)
{
    setOpaque(true);
    setEditorSize(defaultWidth, defaultContentHeight);
    buildFromSkin(loadTextResource("skin.xml").get());
}

BasePluginEditor::~BasePluginEditor()
{
    stopTimer();
    removeAllChildren();
    genericControls.clear();
    skinControls.clear();
}

void BasePluginEditor::setup()
{
    if (!skinLoaded)
        buildGenericLayout();
}

void BasePluginEditor::setEditorSize(int width, int newContentHeight)
{
    contentHeight = newContentHeight;
    setSize(width, newContentHeight);
    if (auto* parent = getParentComponent())
        parent->setSize(width, newContentHeight);
}

void BasePluginEditor::addControl(std::unique_ptr<juce::Component> component, GUIController* controller,
                                  juce::OwnedArray<juce::Component>& owner)
{
    // Beneath the children the editor made itself before the skin, and each later control
    // beneath the earlier ones.
    addAndMakeVisible(component.get(), ownChildrenBeneathControls);
    owner.add(component.release());
    const juce::ScopedLock locked(controllerLock);
    controllers.add(controller);
}

void BasePluginEditor::buildFromSkin(const juce::XmlElement* document)
{
    if (document == nullptr)
        return;
    skinLoaded = true;
    if (!XmlRules::hasTag(*document, "PluginEditor"))
        return;

    SkinBitmap image;
    if (image.load(XmlRules::getAttribute(*document, "background", "Background.png")) && image.isValid())
    {
        background = image;
        setEditorSize(background.getWidth(), background.getHeight());
    }

    auto& parameters = plugin.getParameterSet();
    auto& events = plugin.getEventsMap();
    for (auto* element : document->getChildIterator())
    {
        auto built = createSkinControl(element->getTagName());
        if (built.component == nullptr)
            continue;
        built.component->setName(XmlRules::getAttribute(*element, "name"));
        auto* controller = built.controller;
        auto* component = built.component.get();
        addControl(std::move(built.component), controller, skinControls);
        controller->loadFromXml(*element, parameters, events, this);
        component->setVisible(true);
    }

    const juce::ScopedLock locked(controllerLock);
    for (auto* controller : controllers)
        controller->addListener(this);
}

void BasePluginEditor::buildGenericLayout()
{
    const int columns = (getWidth() - 10) / genericColumnWidth + 1;
    int column = 0;
    int rowTop = genericFirstRowTop;
    auto& parameters = plugin.getParameterSet();
    const int count = parameters.size();
    for (int index = 0; index < count; ++index)
    {
        auto* parameter = parameters.getParameterByIndex(index);
        if (parameter == nullptr)
            continue;
        auto built = createGenericControl(*parameter);
        built.component->setName(parameter->getName());
        built.component->setBounds(column * genericColumnWidth + 5, rowTop, 50, 80);
        built.controller->connectTo(parameter);
        built.controller->addListener(this);
        addControl(std::move(built.component), built.controller, genericControls);

        column += leavesGapAfterParameter(index) ? 2 : 1;
        if (startsRowAfterParameter(index) || column >= columns)
        {
            column = 0;
            rowTop += genericRowHeight;
        }
    }
}

int BasePluginEditor::getNumControllers() const
{
    const juce::ScopedLock locked(controllerLock);
    return controllers.size();
}

GUIController* BasePluginEditor::getController(int index) const
{
    const juce::ScopedLock locked(controllerLock);
    return controllers[index];
}

juce::Component* BasePluginEditor::findControlByNameIn(juce::Component& root, const juce::String& name)
{
    return findControlByName(root, name);
}

void BasePluginEditor::paint(juce::Graphics& g)
{
    if (background.isValid())
    {
        background.draw(g, {0, 0, background.getWidth(), background.getHeight()},
                        {0, 0, background.getWidth(), background.getHeight()});
        return;
    }
    g.fillAll(juce::Colour::greyLevel(0.9f));
    g.setColour(juce::Colours::black);
    g.setFont(15.0f);
    g.drawText(plugin.getProductName(), getLocalBounds().reduced(5).removeFromTop(20),
               juce::Justification::topLeft, false);
}

void BasePluginEditor::controllerValueChanged(GUIController* controller)
{
    auto* parameter = controller != nullptr ? controller->getConnectedParameter() : nullptr;
    if (parameter == nullptr)
        return;
    auto& midi = plugin.getMidiControl();
    if (parameter->isAutomatable() && midi.isLearnMode())
        midi.learnParameterMoved(parameter);
    showParameterValue(parameter);
}

void BasePluginEditor::controllerEventTriggered(GUIController* controller, int eventId)
{
    switch (eventId)
    {
    case EventsMap::options:
    case EventsMap::about:
        // The options and about windows arrive with the editor's windows.
        break;
    case EventsMap::toggleMidiLearn:
    {
        auto& midi = plugin.getMidiControl();
        midi.setLearnMode(!midi.isLearnMode());
        break;
    }
    default:
        plugin.handleEvent(eventId);
        if (controller != nullptr && controller->getConnectedParameter() != nullptr)
            showParameterValue(controller->getConnectedParameter());
        break;
    }
}
