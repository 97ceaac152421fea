// Paths and files that are not what a wing file should be, and saves into
// targets that must stay what they were.
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "wing/AtomicFile.h"
#include "wing/CpFiles.h"

using namespace quarvel;
using quarvel::test::dataPath;
using quarvel::test::readFile;
using quarvel::test::TempDir;
using quarvel::test::writeFile;

namespace {

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.insert(e->d_name);
        closedir(d);
    }
    return names;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// A wing of nsec sections of npt points whose head and rows are all blank
// lines: the smallest file that asks for that model.
std::string blankWing(int npt, int nsec) {
    char head[64];
    std::snprintf(head, sizeof head, "head\n\n\n\n%10d%10d%10d%10d\n", 1, npt + 1, 1, nsec);
    return head + std::string(std::size_t(nsec) * std::size_t(9 + npt / 2), '\n');
}

}  // namespace

TEST(OpenPath, SpecialPathsGetAMessageAtOnce) {
    TempDir dir;
    const std::string wing = dataPath("small-odd.cpi");
    ASSERT_EQ(mkfifo(dir.file("fifo.cpi").c_str(), 0600), 0);
    ASSERT_EQ(symlink(dir.file("gone.cpi").c_str(), dir.file("dangling.cpi").c_str()), 0);
    ASSERT_EQ(symlink(wing.c_str(), dir.file("link.cpi").c_str()), 0);
    writeFile(dir.file("secret.cpi"), readFile(wing));
    chmod(dir.file("secret.cpi").c_str(), 0);
    const bool root = geteuid() == 0;  // reads whatever the permissions say
    const std::string cannot = "cannot be opened: ";
    struct Case { std::string path, says; } cases[] = {
        {dir.path(), cannot + "it is a directory, not a regular file"},
        {dir.file("fifo.cpi"), cannot + "it is a FIFO, not a regular file"},
        {"/dev/zero", cannot + "it is a device, not a regular file"},
        {dir.file("dangling.cpi"), cannot + std::strerror(ENOENT)},
        {dir.file("secret.cpi"), root ? "" : cannot + std::strerror(EACCES)},
        {dir.file("link.cpi"), ""},
    };
    alarm(10);  // a hanging open ends the test instead of blocking it
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        FileError err;
        const auto read = readCpInput(c.path, &err);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << c.path;
        EXPECT_EQ(bool(read), c.says.empty()) << c.path << ": " << err.message();
        if (!c.says.empty()) {
            EXPECT_EQ(err.path + ": " + err.what, c.path + ": " + c.says);
        } else if (read) {
            EXPECT_EQ(read->outputFileName, outputPathFor(c.path)) << "saved beside the name opened";
        }
    }
    alarm(0);
}

TEST(OpenPath, AWingLargerThanTheMemoryLeftIsRefused) {
    TempDir dir;
    // 2000 sections of 2000 points: a 124 MB model from a 2 MB file.
    const std::string path = dir.file("blank.cpi");
    writeFile(path, blankWing(2000, 2000));
    const pid_t child = fork();
    if (child == 0) {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(64) << 20);
        const rlimit r{limit, limit};
        FileError err;
        const bool refused = setrlimit(RLIMIT_AS, &r) == 0 && !readCpInput(path, &err) && err.line == 5 &&
                             err.what.find("asks for 2000 sections of 2000 points, a wing of 124 MB, but only") !=
                                 std::string::npos &&
                             err.what.find("MB of memory is available") != std::string::npos;
        if (!refused) std::fprintf(stderr, "%s\n", err.message().c_str());
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

    // An ordinary wing takes about as much memory as its file.
    WingModel big;
    big.ITE1 = big.KTE1 = 1;
    big.ITE2 = 1001;
    big.KTE2 = 200;
    big.npt = 1000, big.nsec = 200, big.nhalf = 500;
    big.allocate();
    const std::string text = formatCpOutput(big);
    writeFile(path, text);
    std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak count
    auto kb = [](const char* key) {
        std::ifstream in("/proc/self/status");
        std::string word;
        long value = 0;
        while (in >> word && word != key) {}
        in >> value;
        return std::size_t(value) * 1024;
    };
    const std::size_t before = kb("VmRSS:");
    FileError err;
    ASSERT_TRUE(readCpInput(path, &err)) << err.message();
    EXPECT_LT(kb("VmHWM:") - before, 3 * text.size()) << "peak memory of opening a " << text.size() << "-byte file";
}

TEST(SaveTarget, KeepsWhatTheTargetWas) {
    TempDir dir;
    const std::string wing = readFile(dataPath("small-odd.cpd"));
    auto save = [&](const std::string& path, FileError& err) { return writeFileAtomically(path, wing, &err); };
    mkdir(dir.file("real").c_str(), 0755);
    FileError err;

    writeFile(dir.file("locked.cpd"), "old");
    chmod(dir.file("locked.cpd").c_str(), 0444);
    EXPECT_FALSE(save(dir.file("locked.cpd"), err));
    EXPECT_TRUE(err.readOnly) << err.message();
    EXPECT_EQ(readFile(dir.file("locked.cpd")), "old");
    EXPECT_EQ(modeOf(dir.file("locked.cpd")), 0444u);

    writeFile(dir.file("private.cpd"), "old");
    chmod(dir.file("private.cpd").c_str(), 0600);
    ASSERT_TRUE(save(dir.file("private.cpd"), err)) << err.message();
    EXPECT_EQ(modeOf(dir.file("private.cpd")), 0600u);

    writeFile(dir.file("real/target.cpd"), "old");
    symlink("real/target.cpd", dir.file("link.cpd").c_str());
    ASSERT_TRUE(save(dir.file("link.cpd"), err)) << err.message();
    EXPECT_EQ(readFile(dir.file("real/target.cpd")), wing);
    struct stat st {};
    EXPECT_TRUE(lstat(dir.file("link.cpd").c_str(), &st) == 0 && S_ISLNK(st.st_mode)) << "the link stays a link";

    // A temporary name left by a save that died goes with the next save;
    // a name as long as the system takes is saved.
    writeFile(dir.file(".quarvel.Ab12cD"), "left");
    const std::string longName(250, 'w');
    ASSERT_TRUE(save(dir.file(longName + ".cpd"), err)) << err.message();
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"link.cpd", "locked.cpd", "private.cpd", "real",
                                                          longName + ".cpd"}));
}

TEST(SaveTarget, ASaveKilledAnywhereLeavesTheOldOrTheNewFile) {
    TempDir dir;
    const std::string target = dir.file("wing.cpd");
    const std::string oldText(1 << 20, 'o'), newText((1 << 20) + 7, 'n');
    writeFile(target, oldText);
    const auto start = std::chrono::steady_clock::now();
    FileError err;
    ASSERT_TRUE(writeFileAtomically(dir.file("timing.cpd"), newText, &err)) << err.message();
    using std::chrono::microseconds;
    const auto oneSave = std::chrono::duration_cast<microseconds>(std::chrono::steady_clock::now() - start);
    unlink(dir.file("timing.cpd").c_str());

    std::mt19937 random(7);
    for (int run = 0; run < 40; ++run) {
        const pid_t child = fork();
        if (child == 0) _exit(writeFileAtomically(target, newText, nullptr) ? 0 : 1);
        usleep(useconds_t(std::uniform_int_distribution<long>(0, 2 * oneSave.count() + 200)(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = readFile(target);
        ASSERT_TRUE(now == oldText || now == newText) << "run " << run << ": " << now.size() << " bytes";
        writeFile(target, oldText);
        for (const std::string& name : namesIn(dir.path()))
            EXPECT_TRUE(name == "wing.cpd" || name.rfind(".quarvel.", 0) == 0) << name;
    }
    ASSERT_TRUE(writeFileAtomically(target, newText, &err)) << err.message();
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"wing.cpd"}) << "every leftover removed by the next save";
}
