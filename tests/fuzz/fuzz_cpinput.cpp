// Fuzz target: the CpInput reader with its derive step, then the prepare step
// and the writer, on arbitrary bytes. A file that reads gives a sound wing
// whose CpOutput text reads back; a file that does not read says where.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "FuzzCheck.h"

using namespace quarvel;

namespace {

// How many inputs read as a wing and how many were turned down, printed at
// exit for the run's log.
struct Tally {
    long read = 0, rejected = 0;
    ~Tally() { std::fprintf(stderr, "fuzz_cpinput: %ld inputs read as a wing, %ld rejected\n", read, rejected); }
} tally;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FileError err;
    auto wing = parseCpInput(bytes, "fuzz.cpi", &err);
    ++(wing ? tally.read : tally.rejected);
    fuzz::requireOpenedSoundly(wing, err, "fuzz.cpi", bytes);
    return 0;
}
