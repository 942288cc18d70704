// Building the editor from the skin (parsing skin.xml and decoding every strip) and the whole
// start-up of an instance up to its built editor, as a host's instantiation runs it.
#include "framework/processor/PluginEntry.h"
#include "product/Kolvrane.h"
#include "product/KolvraneEditor.h"

#include <benchmark/benchmark.h>

namespace
{
std::unique_ptr<Kolvrane> createKolvrane()
{
    return std::unique_ptr<Kolvrane>(static_cast<Kolvrane*>(createInitialisedPlugin<Kolvrane>()));
}

void BM_BuildEditorFromSkin(benchmark::State& state)
{
    auto plugin = createKolvrane();
    for (auto _ : state)
    {
        KolvraneEditor editor(*plugin);
        benchmark::DoNotOptimize(editor.getNumControllers());
    }
}

void BM_InstantiateUpToTheEditor(benchmark::State& state)
{
    for (auto _ : state)
    {
        auto plugin = createKolvrane();
        benchmark::DoNotOptimize(plugin->getEditorComponent());
    }
}
} // namespace

BENCHMARK(BM_BuildEditorFromSkin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstantiateUpToTheEditor)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
