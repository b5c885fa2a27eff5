// The windows are designed in pixels at 96 DPI; on a monitor of another DPI every figure is scaled.
// Rounding is MulDiv's (half away from zero), so at 96 DPI every figure stays exactly as designed.
#pragma once

#include <cstdint>

constexpr int kDesignDpi = 96;

// value * numerator / denominator, rounded half away from zero.
constexpr int MulDivRounded(int value, int numerator, int denominator) {
  const std::int64_t product = std::int64_t{value} * numerator;
  const std::int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

// Design units to pixels at `dpi`.
constexpr int ToPixels(int units, int dpi) {
  return MulDivRounded(units, dpi, kDesignDpi);
}

// Pixels at `dpi` to design units.
constexpr int ToUnits(int pixels, int dpi) {
  return MulDivRounded(pixels, kDesignDpi, dpi);
}

// A position in design units on a screen `extentUnits` wide (or high), as pixels on the same
// screen `extentPixels` wide: measured from the nearer edge, so that a window placed by its
// distance from the right or bottom edge keeps that distance, scaled, at every DPI.
constexpr int PositionToPixels(int units, int extentUnits, int extentPixels, int dpi) {
  if (2 * units <= extentUnits) return ToPixels(units, dpi);
  return extentPixels - ToPixels(extentUnits - units, dpi);
}
