#include "wing/CpOutputFields.h"

#include <cmath>
#include <string>

#include "wing/Numbers.h"

namespace quarvel {

bool fitsOutputField(const OutputField& field, double value) {
    if (std::fabs(value) < field.alwaysFitsBelow()) return true;
    std::string text;
    appendFixed(text, value, field.precision);
    if (text.size() <= std::size_t(field.room)) return true;
    const std::string_view kept = std::string_view(text).substr(0, std::size_t(field.room));
    return parseDecimal(kept).value == parseDecimal(text).value;
}

}  // namespace quarvel
