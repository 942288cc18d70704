#include "kolvrane/vsthost/OfflineRenderer.h"

#include "kolvrane/vsthost/VstPlugin.h"

#include <algorithm>
#include <stdexcept>

namespace kolvrane::vsthost
{

OfflineRenderer::OfflineRenderer(VstPlugin& plugin, int32_t blockSize) : plugin(plugin), blockSize(blockSize)
{
    if (blockSize <= 0)
        throw std::invalid_argument("block size must be positive");
    const auto block = static_cast<size_t>(blockSize);
    inputBlock.assign(static_cast<size_t>(std::max(plugin.numInputs(), 0)), std::vector<float>(block));
    outputBlock.assign(static_cast<size_t>(std::max(plugin.numOutputs(), 0)), std::vector<float>(block));
    for (auto& channel : inputBlock)
        inputPointers.push_back(channel.data());
    for (auto& channel : outputBlock)
        outputPointers.push_back(channel.data());
}

RenderResult OfflineRenderer::render(const AudioChannels& input, std::vector<MidiEvent> events,
                                     int64_t tailFrames)
{
    const int64_t inputFrames = input.empty() ? 0 : static_cast<int64_t>(input.front().size());
    for (const auto& channel : input)
        if (static_cast<int64_t>(channel.size()) != inputFrames)
            throw std::invalid_argument("input channels differ in length");
    const int64_t totalFrames = inputFrames + std::max<int64_t>(tailFrames, 0);

    RenderResult result;
    result.output.assign(outputBlock.size(), std::vector<float>(static_cast<size_t>(totalFrames)));

    // Stable, so events at one frame keep their given order.
    std::stable_sort(events.begin(), events.end(),
                     [](const MidiEvent& a, const MidiEvent& b) { return a.frame < b.frame; });
    size_t nextEvent = 0;
    while (nextEvent < events.size() && events[nextEvent].frame < 0)
        ++nextEvent;
    result.eventsOutsideRender = nextEvent;

    HostTransport transport = plugin.transport();
    const double startPosition = transport.samplePos;
    for (int64_t start = 0; start < totalFrames; start += blockSize)
    {
        const auto frames = static_cast<int32_t>(std::min<int64_t>(blockSize, totalFrames - start));
        std::vector<MidiEvent> blockEvents;
        while (nextEvent < events.size() && events[nextEvent].frame < start + frames)
        {
            MidiEvent event = events[nextEvent++];
            event.frame -= start;
            blockEvents.push_back(event);
        }
        transport.samplePos = startPosition + static_cast<double>(start);
        plugin.setTransport(transport);
        if (!blockEvents.empty())
            plugin.processEvents(blockEvents);
        result.eventsDelivered += blockEvents.size();
        renderBlock(input, start, frames, result);
    }
    transport.samplePos = startPosition + static_cast<double>(totalFrames);
    plugin.setTransport(transport);
    result.eventsOutsideRender += events.size() - nextEvent;
    return result;
}

void OfflineRenderer::renderBlock(const AudioChannels& input, int64_t start, int32_t frames,
                                  RenderResult& result)
{
    const int64_t inputFrames = input.empty() ? 0 : static_cast<int64_t>(input.front().size());
    for (size_t k = 0; k < inputBlock.size(); ++k)
    {
        std::vector<float>& block = inputBlock[k];
        std::fill(block.begin(), block.end(), 0.0f);
        if (input.empty())
            continue;
        const std::vector<float>& source = input[k % input.size()];
        for (int32_t i = 0; i < frames && start + i < inputFrames; ++i)
            block[static_cast<size_t>(i)] = source[static_cast<size_t>(start + i)];
    }
    for (auto& block : outputBlock)
        std::fill(block.begin(), block.end(), 0.0f);

    plugin.processReplacing(inputPointers.data(), outputPointers.data(), frames);

    for (size_t k = 0; k < outputBlock.size(); ++k)
        std::copy_n(outputBlock[k].begin(), frames, result.output[k].begin() + start);
}

} // namespace kolvrane::vsthost
