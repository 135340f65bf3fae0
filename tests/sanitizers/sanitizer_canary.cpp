// Commits, on purpose, one fault of the kind the sanitizer build exists to
// catch, chosen by the argument. CTest passes the canary only when the
// sanitizer's report appears, so a build in which AddressSanitizer or
// UndefinedBehaviorSanitizer is not in force fails the suite instead of
// passing it unchecked.
#include <climits>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    const char* kind = argc > 1 ? argv[1] : "";
    if (std::strcmp(kind, "heap-overflow") == 0) {
        volatile int size = 8;
        char* block = static_cast<char*>(std::malloc(static_cast<std::size_t>(size)));
        std::memset(block, 0, static_cast<std::size_t>(size));
        volatile char past = block[size];   // one byte past the end
        std::free(block);
        return past;
    }
    if (std::strcmp(kind, "signed-overflow") == 0) {
        volatile int largest = INT_MAX;
        volatile int sum = largest + argc;   // argc is 2 here
        return sum;
    }
    return 2;
}
