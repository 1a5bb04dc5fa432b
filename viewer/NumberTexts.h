// Numbers as the viewer shows them: lengths in fixed-point notation with the document's decimals.
#pragma once
#include <string>

namespace qv {

// `value` rounded to 12 significant digits and shown with `decimals` digits after the point (0 to
// 18), no thousands separator, '.' as the decimal separator. A value with more than 12 digits
// before the point is shown in scientific notation; NaN and infinities as "NAN", "INF", "-INF".
std::string FloatToFixed(double value, int decimals);

}  // namespace qv
