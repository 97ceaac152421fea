// Fuzz target: the CpInput reader with its derive step, then the prepare step
// and the writer, on arbitrary bytes. A file that reads gives a sound wing
// whose CpOutput text reads back; a file that does not read says where.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"

using namespace quarvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    FileError err;
    auto wing = parseCpInput(bytes, "fuzz.cpi", &err);
    fuzz::requireOpenedSoundly(wing, err, "fuzz.cpi", bytes);
    return 0;
}
