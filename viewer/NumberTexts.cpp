#include "viewer/NumberTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv {

namespace {

// The decimal digits of |value|: value = 0.d1 d2 d3 ... x 10^Exponent.
struct TDigits {
  std::string Digits;
  int Exponent = 0;

  explicit TDigits(double value) {
    char buf[64];
    // 26 significant digits show whether a double lies exactly halfway between two shorter ones.
    std::snprintf(buf, sizeof buf, "%.25e", std::fabs(value));
    const char* e = std::strchr(buf, 'e');
    const char* digitsStart = buf + 2;
    Digits = std::string(1, buf[0]) + std::string(digitsStart, e);
    Exponent = std::atoi(e + 1) + 1;
    if (Digits.find_first_not_of('0') == std::string::npos) Exponent = 1;
  }

  // Keeps `keep` leading digits, rounding half away from zero.
  void Round(int keep) {
    if (keep >= static_cast<int>(Digits.size())) return;
    if (keep < 0) {
      Digits = "0";
      return;
    }
    const bool up = Digits[static_cast<size_t>(keep)] >= '5';
    Digits.resize(static_cast<size_t>(keep));
    if (!up) return;
    int i = keep - 1;
    for (; i >= 0 && Digits[static_cast<size_t>(i)] == '9'; --i) Digits[static_cast<size_t>(i)] = '0';
    if (i >= 0) {
      ++Digits[static_cast<size_t>(i)];
    } else {
      Digits.insert(Digits.begin(), '1');
      ++Exponent;
    }
  }

  // The digit at position `index` (0 the first), 0 beyond the ends.
  char At(int index) const {
    return index >= 0 && index < static_cast<int>(Digits.size()) ? Digits[static_cast<size_t>(index)] : '0';
  }
};

}  // namespace

std::string FloatToFixed(double value, int decimals) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  decimals = std::clamp(decimals, 0, 18);
  TDigits d(value);
  // Never more than twelve significant digits.
  d.Round(12);
  if (d.Exponent > 12) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.11E", value);
    return buf;
  }
  d.Round(d.Exponent + decimals);
  std::string text;
  for (int i = 0; i < std::max(d.Exponent, 1); ++i) text += d.At(d.Exponent <= 0 ? -1 : i);
  if (decimals > 0) {
    text += '.';
    for (int i = 0; i < decimals; ++i) text += d.At(d.Exponent + i);
  }
  // A value that rounds to zero carries no sign.
  if (value < 0 && text.find_first_not_of("0.") != std::string::npos) text.insert(text.begin(), '-');
  return text;
}

}  // namespace qv
