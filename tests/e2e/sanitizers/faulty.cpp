// A command line with a deliberate fault on its error path (built under the
// sanitizers only): says what a fault in an input says and exits 1 after an
// over-read, a leak or an overflow, as its argument chooses.
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    const char* fault = argc > 1 ? argv[1] : "";
    std::fprintf(stderr, "wing.cpi:20: the file ends inside section 2\n");
    if (std::strcmp(fault, "over-read") == 0) {
        char* block = new char[16];
        std::memset(block, 0, 16);
        volatile char beyond = block[16 + argc];
        (void)beyond;
        delete[] block;
    } else if (std::strcmp(fault, "leak") == 0) {
        static char* volatile lost;
        lost = new char[64];
        lost = nullptr;
    } else if (std::strcmp(fault, "overflow") == 0) {
        volatile int big = 2147483600;
        volatile int sum = big + 100 * argc;
        (void)sum;
    }
    return 1;
}
