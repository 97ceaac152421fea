// Runs a fuzz target's entry point once on every file named on the command
// line (a directory stands for the files in it), so that the corpus is
// checked in every build, with or without the fuzzing engine. A broken
// invariant aborts; a file that cannot be read, or no file at all, fails.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (!fs::is_directory(argv[i])) files.emplace_back(argv[i]);
        else
            for (const auto& entry : fs::directory_iterator(argv[i]))
                if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) std::fprintf(stderr, "usage: %s FILE-OR-DIRECTORY...: no input to replay\n", argv[0]);
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) return std::fprintf(stderr, "%s: cannot be read\n", file.c_str()), 1;
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "%s (%zu bytes)\n", file.c_str(), bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs replayed\n", files.size());
    return files.empty() ? 2 : 0;
}
