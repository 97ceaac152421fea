// Fuzz target: opening a path as the window does. The first byte makes the
// path the file, a link to it, a FIFO without a writer or a directory; the
// rest is the file, up to megabytes. The open returns at once with a message
// naming the path or a sound wing, which is saved beside it and read back.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "FuzzCheck.h"

using namespace quarvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A private directory for the run's files, removed at exit.
    static const struct Scratch {
        char path[32] = "/tmp/quarvel-fuzz-path-XXXXXX";
        Scratch() { if (!mkdtemp(path)) fuzz::fail("no scratch directory"); }
        ~Scratch() { std::system(("rm -rf '" + std::string(path) + "'").c_str()); }
    } scratch;
    const std::string dir = scratch.path;
    const std::string file = dir + "/wing.cpi", named = dir + "/named.cpi";
    for (const std::string& old : {named, file, dir + "/named.cpd"})
        if (::unlink(old.c_str()) != 0) ::rmdir(old.c_str());
    const int kind = size ? data[0] % 4 : 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + (size ? 1 : 0), size ? size - 1 : 0);
    if (!(std::ofstream(file, std::ios::binary) << bytes)) fuzz::fail("cannot write " + file);
    const int made = kind == 0   ? ::rename(file.c_str(), named.c_str())
                     : kind == 1 ? ::symlink(file.c_str(), named.c_str())
                     : kind == 2 ? ::mkfifo(named.c_str(), 0600)
                                 : ::mkdir(named.c_str(), 0700);
    if (made != 0) fuzz::fail("cannot make " + named);

    FileError err;
    auto wing = readCpInput(named, &err);
    if (kind > 1 && (wing || err.what.find("not a regular file") == std::string::npos))
        fuzz::fail("a special path is reported as \"" + err.message() + "\"");
    fuzz::requireOpenedSoundly(wing, err, named, bytes);
    if (wing && !saveCpOutput(*wing, wing->outputFileName, &err))
        fuzz::fail("the wing read cannot be saved: " + err.message());
    return 0;
}
