// Colour conversion for GDI+ and the aspect-keeping fit of an image into a box.
#include "skin/color_and_placement.h"

#include <cmath>
#include <limits>

namespace {

// Truncation toward zero. Only a degenerate (negative) box can make a quotient divide by zero; its
// infinity or NaN then gives a bounded value instead of an undefined conversion.
std::int32_t Truncate(double value) noexcept {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::uint32_t ToArgb(std::int32_t color, std::int32_t alpha) noexcept {
    const auto bits = static_cast<std::uint32_t>(color);
    const std::uint32_t red = bits & 0xFF;
    const std::uint32_t green = (bits >> 8) & 0xFF;
    const std::uint32_t blue = (bits >> 16) & 0xFF;
    const std::uint32_t rgb = blue + green * 256 + red * 65536;
    return rgb | (static_cast<std::uint32_t>(alpha) << 24);
}

void FitInBox(std::int32_t imageWidth, std::int32_t imageHeight, std::int32_t boxWidth,
              std::int32_t boxHeight, std::int32_t& width, std::int32_t& height) noexcept {
    width = imageWidth;
    height = imageHeight;
    if (imageWidth > boxWidth) {
        width = boxWidth;
        height = Truncate(static_cast<double>(imageHeight) * boxWidth / imageWidth);
    }
    if (height > boxHeight) {
        width = Truncate(static_cast<double>(width) * boxHeight / height);
        height = boxHeight;
    }
}
