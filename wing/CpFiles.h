// Reading a CpInput file into a WingModel and writing the CpOutput file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "wing/WingModel.h"

namespace quarvel {

// What went wrong with a file: the path, the 1-based line (0 when the fault
// is not tied to one line) and a sentence saying what is wrong.
struct FileError {
    std::string path;
    int line = 0;
    std::string what;
    // A save refused because the target, or its directory, may not be
    // written: the same wing may still be saved under another name.
    bool readOnly = false;

    // "<path>, line <n>: <what>" (or "<path>: <what>") for a message box.
    std::string message() const;
};

// Fields that are not a plain number: characters but no number (read as 0,
// as the format says) or text after the number ("1,5" read as 1). The reader
// lists them in one warning once the file is read.
struct FileWarnings {
    static constexpr std::size_t kListed = 20;  // the rest are only counted

    std::string path;
    std::vector<FileError> fields;  // the first kListed, "MACH: \"M0.78\" is not a number, read as 0"
    std::size_t count = 0;          // all of them

    bool empty() const { return count == 0; }
    // "<path>: N fields are not plain numbers:" and the list, one field a
    // line ("line 3, MACH: ..."), then "and N more" past kListed.
    std::string message() const;
};
// The interval of surface s that a file's two values name, as 1-based point
// numbers in order: a value is a file point number (less ioff), 0 stands for
// the surface's default end (u1Min, u2Max or l1Min, l2Max), ends beyond the
// surface are taken to its first or last point and reversed ends are
// swapped. Nothing else is narrowed: an interval may reach the points that
// the editing keeps fixed.
std::pair<int, int> intervalNamed(const WingModel& wing, int s, int firstValue, int lastValue);

// Surface s of section k is as the file gave it: the same regime, interval
// and design Cp, and its interval values still the file's. A save writes
// such a surface's code, interval values and design Cp column as read.
bool surfaceAsRead(const WingModel& wing, int k, int s);

// Label lines 2 and 4 of a CpOutput file.
constexpr std::string_view kCpOutputMachLabels = "                              MACH           ALPHA";
constexpr std::string_view kCpOutputHeadLabels = "    ITE1      ITE2      KTE1      KTE2";

// The longest line the reader takes; the rest of a longer line is skipped.
constexpr int kMaxLineLength = 120;

// Reads and validates a whole CpInput file, runs the derive step and returns
// the wing; on any fault returns nothing and fills *error. Only a regular
// file is read, and only when the wing its head describes fits in the memory
// the process can still have; running out of memory on the way is reported
// the same way. Fields without a number go to *warnings when it is given.
std::optional<WingModel> readCpInput(const std::string& path, FileError* error, FileWarnings* warnings = nullptr);

// The same on the file's bytes already in memory; path only names the file in
// messages and in inputFileName/outputFileName.
std::optional<WingModel> parseCpInput(std::string_view bytes, const std::string& path, FileError* error,
                                      FileWarnings* warnings = nullptr);

// Bytes of memory the process can still take: what the system has available,
// less than that when a resource limit of the process is nearer.
std::size_t availableMemory();

// Derive step: intervals (the file's point numbers, clamped into the limits,
// in order), selected points, regimes and the design Cp as read.
void deriveSections(WingModel& wing);

// The design Cp of section k back to what the derive step made of the file:
// the initial Cp, with the file's design Cp over the interval of each "Cp
// edition" surface.
void restoreDesignCpAsRead(WingModel& wing, int k);

// True while the design Cp of section k is exactly what was read.
bool designCpAsRead(const WingModel& wing, int k);

// The CYD a save writes for section k: the file's value while the section's
// design Cp is as read, the design lift once it differs.
double cydToWrite(const WingModel& wing, int k);

// What "Cyd=" shows for section k: the lift of the design Cp shown, to the
// digits the file gets; and its tooltip, which also gives the file's CYD
// where that differs for an unedited section.
double shownCyd(const WingModel& wing, int k);
std::string cydTip(const WingModel& wing, int k);

// CpOutput path for an input path: a three-character extension of the file
// name is replaced by "cpd", otherwise ".cpd" is appended.
std::string outputPathFor(const std::string& inputPath);

// Prepare step: codes, output intervals and the output design Cp column of
// every corrected section, from its regimes.
void prepareOutput(WingModel& wing);

// The CpOutput text of the wing as it stands (no prepare step).
std::string formatCpOutput(const WingModel& wing);

// Prepare step, then write the CpOutput file to path through a temporary
// file beside it that replaces the target only once everything is written.
// Returns false and fills *error when the file could not be written; an
// existing file is then left as it was.
bool saveCpOutput(WingModel& wing, const std::string& path, FileError* error);

}  // namespace quarvel
