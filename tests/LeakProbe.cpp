// Leaks one block on purpose and exits 0: in the sanitizer build, the leak check at exit must report it and fail
// the run, whatever the suppressions of system libraries hold.
#include <cstdio>

namespace {

[[gnu::noinline]] int* Allocate()
{
    return new int[4]{1, 2, 3, 4};
}

} // namespace

int main()
{
    int* block = Allocate();
    std::printf("%d\n", block[3]);
    block = nullptr;
    return 0;
}
