// Saved work on disk is replaced only when the user says so, and a wing too
// large for the memory left costs a message, never the session's edits.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "WindowFixture.h"
#include "view3d/GLView3D.h"
#include "wing/AtomicFile.h"
#include "wing/CpFiles.h"

namespace fs = std::filesystem;
using quarvel::test::command;
using quarvel::test::readFile;
using quarvel::test::writeFile;
using SavedWorkTest = quarvel::test::WindowFixture;

namespace {

// Sets the time a file was last changed, seconds from now.
void touch(const fs::path& path, int seconds) {
    const timespec now = *quarvel::modificationTime(path.string());
    const timespec times[2] = {now, {now.tv_sec + seconds, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

}  // namespace

// wing.cpd holds work saved after wing.cpi: opening wing.cpi offers it, and
// the first save onto it asks until the user says yes.
TEST_F(SavedWorkTest, SavedWorkIsOfferedAtOpenAndReplacedOnlyWhenTheUserSaysSo) {
    const std::string cpi = (dir / "wing.cpi").string(), cpd = (dir / "wing.cpd").string(), saved = "saved work\n";
    fs::copy_file(fs::path(QUARVEL_EXAMPLES) / "wing12.cpi", cpi);
    ASSERT_EQ(std::get<0>(quarvel::test::runCli({"--convert", cpi})), 0);
    writeFile((dir / ".quarvel.backup").string(), "notes");
    struct Case {
        const char* name;
        int cpdAge;                    // seconds the saved work is newer than the input (negative: older)
        std::vector<FXuint> answers;   // to the open question (when asked), then to the save questions
        bool offered;                  // the open question is asked
        std::string opened;            // the file the window reads
        int declined;                  // saves the user declines before the one that replaces
    } cases[] = {
        {"newer, opened instead", 60, {MBOX_CLICKED_YES}, true, cpd, 0},
        {"newer, input opened, replaced at the second save", 60, {MBOX_CLICKED_NO, MBOX_CLICKED_NO, MBOX_CLICKED_YES},
         true, cpi, 1},
        {"older, replaced at the first save", -60, {MBOX_CLICKED_YES}, false, cpi, 0},
    };
    for (const Case& c : cases) {
        auto w = newWindow();
        touch(cpd, c.cpdAge);
        const std::string was = readFile(cpd), when = quarvel::formatLocalTime(*quarvel::modificationTime(cpd));
        answers = c.answers;
        ASSERT_TRUE(w->openFile(cpi.c_str())) << c.name;
        EXPECT_EQ(w->wing.inputFileName, c.opened) << c.name;
        EXPECT_EQ(questions.size(), c.offered ? 1u : 0u) << c.name;
        if (c.offered) {
            EXPECT_EQ(questions[0].rfind(cpd + " holds work saved on " + when + ", after ", 0), 0u) << c.name;
        }
        questions.clear();

        command(*w, Quarvel::ID_UP_GEOM);
        for (int i = 0; i < c.declined; ++i) {
            command(*w, Quarvel::ID_SAVE);
            EXPECT_EQ(readFile(cpd), was) << c.name << ", save " << i;
            EXPECT_TRUE(w->modified) << c.name << ", save " << i;
            ASSERT_EQ(questions.size(), std::size_t(i + 1)) << c.name;
            EXPECT_EQ(questions[i], cpd + " was last changed on " + when + ", not by this session.\nReplace it?")
                << c.name;
        }
        command(*w, Quarvel::ID_SAVE);
        EXPECT_FALSE(w->modified) << c.name;
        EXPECT_NE(readFile(cpd), was) << c.name;
        command(*w, Quarvel::ID_UP_NOCORR);
        command(*w, Quarvel::ID_SAVE);
        // Asked once more, unless the window opened the file; not for a file it wrote.
        EXPECT_EQ(questions.size(), std::size_t(c.declined + (c.opened == cpd ? 0 : 1))) << c.name;
        EXPECT_TRUE(answers.empty()) << c.name;
        questions.clear();
        EXPECT_EQ(readFile((dir / ".quarvel.backup").string()), "notes") << c.name;
        writeFile(cpd, saved);
    }
}

// The 3D view of a wing larger than the memory left: a message, and the
// edits survive to be saved. The cap is set in a process of its own (this
// test binary again), as a cap cannot be lifted past where it was.
TEST_F(SavedWorkTest, TheThreeDViewUnderAMemoryCapLeavesAMessageAndTheEdits) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any cap leaves";
#endif
    if (!std::getenv("QUARVEL_MEMORY_CAP_CHILD")) {
        const std::string self = fs::read_symlink("/proc/self/exe").string();
        const std::string run = "QUARVEL_MEMORY_CAP_CHILD=1 " + self + " --gtest_filter='*MemoryCap*'";
        const int status = std::system(run.c_str());
        EXPECT_EQ(status, 0) << "the capped process failed or died (its output is above)";
        return;
    }
    // 400 sections of 1000 points a surface: a mesh of 19 MB.
    quarvel::WingModel big;
    big.ITE1 = big.KTE1 = 1, big.ITE2 = 2001, big.KTE2 = 400, big.npt = 2000, big.nsec = 400, big.nhalf = 1000;
    big.allocate();
    for (int k = 0; k < big.nsec; ++k) big.B[std::size_t(k)] = 1.0;
    writeFile((dir / "big.cpi").string(), quarvel::formatCpOutput(big));
    // The 3D view is made when its pane shows.
    command(*window, Quarvel::ID_PANE_3D);
    ASSERT_TRUE(window->openFile((dir / "big.cpi").c_str()));
    questions.clear();
    command(*window, Quarvel::ID_UP_GEOM);
    ASSERT_TRUE(window->modified);

    rlimit was {};
    getrlimit(RLIMIT_AS, &was);
    std::size_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlim_t cap = pages * std::size_t(sysconf(_SC_PAGESIZE)) + (rlim_t(8) << 20);
    const rlimit capped{cap, was.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &capped), 0);
    command(*window, Quarvel::ID_3DVIEW);
    setrlimit(RLIMIT_AS, &was);

    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Not enough memory for the 3D view of this wing (400 sections of 2000 points: it "
                              "takes about ", 0), 0u) << errors[0];
    errors.clear();
    EXPECT_EQ(window->view3D, nullptr) << "no view is left half made";
    EXPECT_TRUE(window->modified) << "the edit is still there, unsaved";
    command(*window, Quarvel::ID_SAVE);
    EXPECT_FALSE(window->modified);
    quarvel::FileError err;
    const auto back = quarvel::readCpInput((dir / "big.cpd").string(), &err);
    ASSERT_TRUE(back) << err.message();
    EXPECT_EQ(back->RU[0], -10) << "the edit reached the file";
    command(*window, Quarvel::ID_3DVIEW);
    EXPECT_NE(window->view3D, nullptr) << "with the memory back, the view opens";
}
