// The one place where the program's own strings and numbers become the
// toolkit's strings and back. Only calls that FOX 1.6 and 1.7 share are used.
#pragma once

#include <fx.h>

#include <string>

#include "wing/Numbers.h"

namespace quarvel {

inline FXString foxText(const std::string& text) {
    return FXString(text.c_str());
}

inline std::string stdText(const FXString& text) {
    return std::string(text.text(), static_cast<std::size_t>(text.length()));
}

// A number in fixed notation with the given decimals, independent of the
// process locale.
inline FXString fixedText(double value, int decimals) {
    return foxText(formatFixed(value, decimals));
}

}  // namespace quarvel
