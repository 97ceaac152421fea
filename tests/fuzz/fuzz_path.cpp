// Fuzz target: opening a path as the window does. The first byte chooses
// what the path is (the file itself, a symbolic link to it, a FIFO without a
// writer, a directory); the rest is the file's content, up to megabytes. The
// open must return at once with a wing or a message naming the path, and a
// wing it gives must be sound and saved whole, beside the input, as the
// window saves it.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzCheck.h"

using namespace quarvel;

namespace {

// A private directory for the run's files, removed at exit.
struct Scratch {
    std::string dir;
    Scratch() {
        char templ[] = "/tmp/quarvel-fuzz-path-XXXXXX";
        if (!mkdtemp(templ)) fuzz::fail("no scratch directory");
        dir = templ;
    }
    ~Scratch() { std::system(("rm -rf '" + dir + "'").c_str()); }
};

void writeAll(const std::string& path, const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0)
        fuzz::fail("cannot write " + path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    const std::string file = scratch.dir + "/wing.cpi";
    const std::string named = scratch.dir + "/named.cpi";
    for (const std::string& old : {named, file, scratch.dir + "/named.cpd"})
        if (::unlink(old.c_str()) != 0) ::rmdir(old.c_str());
    const int kind = size ? data[0] % 4 : 0;
    if (size) ++data, --size;
    writeAll(file, data, size);
    const bool regular = kind < 2;
    const int made = kind == 0 ? ::rename(file.c_str(), named.c_str())
                     : kind == 1 ? ::symlink(file.c_str(), named.c_str())
                     : kind == 2 ? ::mkfifo(named.c_str(), 0600)
                                 : ::mkdir(named.c_str(), 0700);
    if (made != 0) fuzz::fail("cannot make " + named);

    FileError err;
    FileWarnings warnings;
    auto wing = readCpInput(named, &err, &warnings);
    if (!wing) {
        if (err.path != named || err.what.empty())
            fuzz::fail("a refused path is reported as \"" + err.message() + "\"");
        if (!regular && err.what.find("not a regular file") == std::string::npos)
            fuzz::fail("a special path is reported as \"" + err.message() + "\"");
        return 0;
    }
    if (!regular) fuzz::fail("a special path read as a wing");
    if (warnings.count < warnings.fields.size() || warnings.fields.size() > FileWarnings::kListed)
        fuzz::fail("the warning counts " + std::to_string(warnings.count) + " fields");
    fuzz::requireSound(test::wingFault(*wing), "file read");
    if (!saveCpOutput(*wing, wing->outputFileName, &err)) fuzz::fail("a wing read cannot be saved: " + err.message());
    FileError back;
    if (!readCpInput(wing->outputFileName, &back)) fuzz::fail("the saved file does not read back: " + back.message());
    return 0;
}
