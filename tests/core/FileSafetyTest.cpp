// Paths that are not a wing file, wings too large to hold, and saves into
// targets that must stay what they were.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "wing/AtomicFile.h"
#include "wing/CpFiles.h"

using namespace quarvel;
using namespace quarvel::test;

namespace {

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename());
    return names;
}

// The process's memory in bytes from /proc/self/status ("VmRSS:", "VmHWM:").
std::size_t statusBytes(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string word;
    std::size_t kb = 0;
    while (in >> word && word != key) {}
    in >> kb;
    return kb * 1024;
}

}  // namespace

namespace {

// Paths that are no regular file, each with what opening it says.
struct SpecialPath {
    std::string path, says;
};

std::vector<SpecialPath> specialPaths(const TempDir& dir) {
    const std::string wing = dataPath("small-odd.cpi"), cannot = "cannot be opened: ";
    EXPECT_EQ(mkfifo(dir.file("fifo.cpi").c_str(), 0600), 0);
    EXPECT_EQ(symlink(dir.file("gone.cpi").c_str(), dir.file("dangling.cpi").c_str()), 0);
    EXPECT_EQ(symlink(wing.c_str(), dir.file("link.cpi").c_str()), 0);
    writeFile(dir.file("secret.cpi"), readFile(wing));
    chmod(dir.file("secret.cpi").c_str(), 0);
    return {
        {dir.path(), cannot + "it is a directory, not a regular file"},
        {dir.file("fifo.cpi"), cannot + "it is a FIFO, not a regular file"},
        {"/dev/zero", cannot + "it is a device, not a regular file"},
        {dir.file("dangling.cpi"), cannot + std::strerror(ENOENT)},
        {dir.file("secret.cpi"), geteuid() == 0 ? "" : cannot + std::strerror(EACCES)},  // root reads it
        {dir.file("link.cpi"), ""},
    };
}

}  // namespace

TEST(OpenPath, SpecialPathsGetAMessage) {
    TempDir dir;
    alarm(10);  // a hanging open ends the test instead of blocking it
    for (const SpecialPath& c : specialPaths(dir)) {
        FileError err;
        const auto read = readCpInput(c.path, &err);
        EXPECT_EQ(read ? "" : err.path + ": " + err.what, c.says.empty() ? "" : c.path + ": " + c.says);
    }
    alarm(0);
}

// Under the "slow" label: a loaded machine can miss the second.
TEST(SlowOpenPath, SpecialPathsAnswerWithinASecond) {
    TempDir dir;
    alarm(10);
    for (const SpecialPath& c : specialPaths(dir)) {
        const auto start = std::chrono::steady_clock::now();
        FileError err;
        readCpInput(c.path, &err);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << c.path;
    }
    alarm(0);
}

TEST(OpenPath, AWingLargerThanTheMemoryLeftIsRefused) {
    TempDir dir;
    // 2000 sections of 2000 points over blank lines: a 154 MB wing from 2 MB, over a limit of 64 MB more than in use.
    char head[64];
    std::snprintf(head, sizeof head, "head\n\n\n\n%10d%10d%10d%10d\n", 1, 2001, 1, 2000);
    writeFile(dir.file("blank.cpi"), head + std::string(2000 * (9 + 1000), '\n'));
    const pid_t child = fork();
    if (child == 0) {
        std::size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = pages * std::size_t(sysconf(_SC_PAGESIZE)) + (rlim_t(64) << 20);
        const rlimit r{limit, limit};
        FileError err;
        const bool limited = setrlimit(RLIMIT_AS, &r) == 0, read = limited && readCpInput(dir.file("blank.cpi"), &err);
        std::fprintf(stderr, "%s\n", err.message().c_str());
        const std::string says = "asks for 2000 sections of 2000 points, a wing of 154 MB, but only ";
        _exit(limited && !read && err.line == 5 && err.what.find(says) != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0) << "status " << status;

    // An ordinary wing (200 sections of 1000 points) takes about as much memory as its file.
    WingModel big;
    big.ITE1 = big.KTE1 = 1, big.ITE2 = 1001, big.KTE2 = 200, big.npt = 1000, big.nsec = 200, big.nhalf = 500;
    big.allocate();
    const std::string text = formatCpOutput(big);
    writeFile(dir.file("big.cpi"), text);
    std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak count
    const std::size_t before = statusBytes("VmRSS:");
    FileError err;
    ASSERT_TRUE(readCpInput(dir.file("big.cpi"), &err)) << err.message();
    EXPECT_LT(statusBytes("VmHWM:") - before, 3 * text.size()) << "peak memory opening " << text.size() << " bytes";
}

TEST(SaveTarget, KeepsWhatTheTargetWas) {
    TempDir dir;
    const std::string text = readFile(dataPath("small-odd.cpd")), longName(250, 'w');
    mkdir(dir.file("real").c_str(), 0755);
    mkdir(dir.file("taken.cpd").c_str(), 0755);
    writeFile(dir.file("real/target.cpd"), "old");
    symlink("real/target.cpd", dir.file("link.cpd").c_str());
    writeFile(dir.file(".quarvel.backup"), "notes");  // the user's, named like a temporary file
    struct Case { std::string name; mode_t mode; bool saves, readOnly; std::string inTarget; } cases[] = {
        {"locked.cpd", 0444, false, true, "old"},  // refused, untouched
        {"private.cpd", 0600, true, false, text},
        {"taken.cpd", 0, false, false, ""},  // a directory
        {"link.cpd", 0, true, false, ""},
        {longName + ".cpd", 0, true, false, text},  // no name grows past what the system takes
    };
    for (const auto& c : cases) {
        if (c.mode) writeFile(dir.file(c.name), "old"), chmod(dir.file(c.name).c_str(), c.mode);
        FileError err;
        EXPECT_EQ(writeFileAtomically(dir.file(c.name), text, &err), c.saves) << c.name << ": " << err.message();
        EXPECT_EQ(err.readOnly, c.readOnly) << c.name;
        EXPECT_EQ(c.inTarget.empty() ? "" : readFile(dir.file(c.name)), c.inTarget) << c.name;
        struct stat st {};
        EXPECT_EQ(c.mode ? (stat(dir.file(c.name).c_str(), &st), st.st_mode & 07777) : 0, c.mode) << c.name;
    }
    struct stat st {};
    ASSERT_EQ(lstat(dir.file("link.cpd").c_str(), &st), 0) << "the link is there";
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    EXPECT_EQ(readFile(dir.file("real/target.cpd")), text) << "the file it points to is replaced";
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{".quarvel.backup", "link.cpd", "locked.cpd", "private.cpd",
                                                          "real", "taken.cpd", longName + ".cpd"}))
        << "no temporary name left, and no other file removed";
    EXPECT_EQ(readFile(dir.file(".quarvel.backup")), "notes");
}

// A new file takes the mode the umask leaves of 0666; a replaced one keeps
// its own whatever the umask.
TEST(SaveTarget, ModesUnderAUmask) {
    TempDir dir;
    struct Case { mode_t umask, before, after; } cases[] = {{022, 0, 0644},    {077, 0, 0600},    {002, 0, 0664},
                                                           {0, 0, 0666},      {077, 0664, 0664}, {022, 0600, 0600},
                                                           {0, 0640, 0640},   {027, 0755, 0755}};
    int n = 0;
    for (const auto& c : cases) {
        const std::string path = dir.file("wing" + std::to_string(n++) + ".cpd");
        if (c.before) writeFile(path, "old"), chmod(path.c_str(), c.before);
        const mode_t saved = umask(c.umask);
        const bool written = writeFileAtomically(path, "new", nullptr);
        umask(saved);
        struct stat st {};
        stat(path.c_str(), &st);
        EXPECT_TRUE(written) << path;
        EXPECT_EQ(st.st_mode & 07777, c.after) << "umask " << std::oct << c.umask << ", before " << c.before;
    }
}

TEST(SaveTarget, ASaveKilledAnywhereLeavesTheOldOrTheNewFile) {
    TempDir dir;
    const std::string target = dir.file("wing.cpd"), oldText(1 << 20, 'o'), newText((1 << 20) + 7, 'n');
    std::mt19937 random(7);
    for (int run = 0; run < 40; ++run) {
        writeFile(target, oldText);
        const pid_t child = fork();
        if (child == 0) _exit(writeFileAtomically(target, newText, nullptr) ? 0 : 1);
        usleep(useconds_t(std::uniform_int_distribution<long>(0, 20000)(random)));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = readFile(target);
        ASSERT_TRUE(now == oldText || now == newText) << "run " << run << ": " << now.size() << " bytes";
    }
    // The text goes to an unnamed file where the file system has them, and is
    // named only once whole, just before it replaces the target: a save killed
    // in that moment leaves a hidden copy of the new text, which no later save
    // removes (it did not make it), but never a part of one.
    const int probe = open(dir.path().c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe >= 0) {
        close(probe);
        for (const std::string& name : namesIn(dir.path()))
            if (name != "wing.cpd") {
                EXPECT_EQ(readFile(dir.file(name)), newText) << "a killed save left a part in " << name;
            }
    }
}

// The file beside the input may hold saved work: "--convert" replaces it
// only when told to, by -o or --force.
TEST(SaveTarget, TheCommandLineReplacesSavedWorkOnlyWhenTold) {
    const std::string saved = "saved work\n", converted = readFile(dataPath("small-odd.cpd"));
    struct Case {
        const char* name;
        std::vector<std::string> args;
        bool existing;
        int status;
        std::string after;
    } cases[] = {
        {"no output yet", {}, false, 0, converted}, {"saved work there", {}, true, 1, saved},
        {"--force", {"--force"}, true, 0, converted}, {"-o the same file", {"-o", "@/wing.cpd"}, true, 0, converted},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeFile(dir.file("wing.cpi"), readFile(dataPath("small-odd.cpi")));
        if (c.existing) writeFile(dir.file("wing.cpd"), saved);
        std::vector<std::string> args{"--convert", dir.file("wing.cpi")};
        for (std::string a : c.args) args.push_back(a[0] == '@' ? dir.path() + a.substr(1) : a);
        const auto [status, out, err] = runCli(args);
        EXPECT_EQ(status, c.status) << c.name << ": " << err;
        EXPECT_EQ(readFile(dir.file("wing.cpd")), c.after) << c.name;
        if (c.status != 0) {
            EXPECT_NE(err.find("--force"), std::string::npos) << c.name << ": " << err;
        }
    }
    EXPECT_EQ(std::get<0>(runCli({"--check", dataPath("small-odd.cpi"), "--force"})), 2) << "--force with --check";
}
