// Linked into every program of the sanitizer build: leaks are checked at exit, against the suppressions file
// of system libraries (tests/LeakSuppressions.txt) that the test command and a run by hand both use.
extern "C" const char* __asan_default_options()
{
    return "detect_leaks=1";
}

extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0:suppressions=" TESSEL_LEAK_SUPPRESSIONS;
}
