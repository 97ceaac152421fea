// Where the CpOutput writer puts each value that it carries over from the
// input unchanged, and how many characters its text may take there: the room
// runs from the column the text starts at to the last column the reader takes
// the value from, so a text that fits reads back whole and stays clear of the
// next field. The reader refuses a file with a value that would not fit, so
// that a save never cuts or spills what it was given.
#pragma once

#include <cstddef>

namespace quarvel {

struct OutputField {
    const char* name;
    int column;     // first column written (1-based)
    int precision;  // decimals written
    int room;       // characters the text may take

    // Below this magnitude every text fits, whatever its digits.
    constexpr double alwaysFitsBelow() const {
        double limit = 1.0;
        for (int d = 0; d < room - precision - 2; ++d) limit *= 10.0;  // sign, point and decimals
        return limit - 1.0;
    }
};

namespace cpoutput {

// Head line 3, both inserted, each read back from a 15-column field.
constexpr OutputField MACH{"MACH", 31, 4, 15};
constexpr OutputField ALPHA{"ALPHA", 46, 4, 15};
// Section block lines 1 to 3.
constexpr OutputField ZREF{"ZREF", 26, 4, 6};
constexpr OutputField Z{"Z", 38, 4, 10};
constexpr OutputField CN{"CN", 56, 4, 11};
constexpr OutputField EP{"EP", 74, 4, 7};
constexpr OutputField PLE{"PLE", 39, 2, 11};
constexpr OutputField PTE{"PTE", 59, 2, 11};
constexpr OutputField CYD{"CYD", 2, 5, 9};
constexpr OutputField EPD{"EPD", 12, 5, 9};
constexpr OutputField XLE{"XLE", 39, 4, 11};
constexpr OutputField B{"B", 57, 4, 11};
// Codes and interval values, integers written through single precision.
constexpr OutputField RU{"RU", 20, 5, 9};
constexpr OutputField RL{"RL", 49, 5, 9};
constexpr OutputField IU1{"IU1", 20, 5, 9};
constexpr OutputField IU2{"IU2", 30, 5, 9};
constexpr OutputField IL1{"IL1", 49, 5, 10};
constexpr OutputField IL2{"IL2", 59, 5, 10};
// Point rows.
constexpr OutputField X{"X", 3, 4, 8};
constexpr OutputField CPTU{"CPTU", 20, 4, 9};
constexpr OutputField CPDU{"CPDU", 30, 4, 9};
constexpr OutputField CPTL{"CPTL", 49, 4, 9};
constexpr OutputField CPDL{"CPDL", 59, 4, 9};

}  // namespace cpoutput

// Whether value, written as the field is, reads back from its room as the
// number that was written (a text cut only in trailing zeros still does).
bool fitsOutputField(const OutputField& field, double value);

}  // namespace quarvel
