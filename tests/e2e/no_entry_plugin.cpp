// A loadable module without VSTPluginMain, for the host's load-failure tests.
extern "C" __attribute__((visibility("default"))) int notAPluginEntry()
{
    return 42;
}
