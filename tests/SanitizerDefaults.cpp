// Linked into every program of the sanitizer build: memory that the system's own libraries (desktop bus, X,
// graphics drivers) keep until exit is not the program's leak. Their frames carry no symbols, so the
// runtime's own module shows up as the allocator of what they own.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n"
           "leak:libX11.so\n"
           "leak:libxcb.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:swrast_dri.so\n"
           "leak:libLLVM\n"
           "leak:libubsan.so\n";
}

extern "C" const char* __asan_default_options()
{
    return "detect_leaks=1:print_suppressions=0";
}
