// A library that loads but has no entry point.
extern "C" int device_test_plugin_answer()
{
    return 42;
}
