// Helpers shared by the core tests.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <unistd.h>

#include "app/CommandLine.h"

namespace quarvel::test {

inline std::string dataPath(const std::string& name) { return std::string(QUARVEL_TEST_DATA) + "/" + name; }

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Runs the command line in-process: exit status, stdout, stderr.
inline std::tuple<int, std::string, std::string> runCli(std::vector<std::string> args) {
    args.insert(args.begin(), "quarvel");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::ostringstream out, err;
    const int status = runCommandLine(int(args.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir() { if (!mkdtemp(path_.data())) path_.clear(); }
    ~TempDir() { if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str()); }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_ = "/tmp/quarvel-test-XXXXXX";
};

}  // namespace quarvel::test
