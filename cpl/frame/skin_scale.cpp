#include "cpl/frame/skin_scale.h"

#include <algorithm>

#include "cpl/frame/skin_layout.h"

namespace zentra {

namespace {

constexpr int kBaseDpi = 96;

// value * num / den, rounded to the nearest, halves away from zero.
int mulDivRound(int value, int num, int den) {
    const long long magnitude = static_cast<long long>(value < 0 ? -value : value) * num;
    const int rounded = static_cast<int>((2 * magnitude + den) / (2LL * den));
    return value < 0 ? -rounded : rounded;
}

}  // namespace

SkinScale skinScaleFor(int dpi, int areaWidth, int areaHeight) {
    SkinScale scale;
    if (dpi <= kBaseDpi) return scale;
    scale.width = areaWidth > 0 ? areaWidth : mulDivRound(kPageArea.right, dpi, kBaseDpi);
    scale.height = areaHeight > 0 ? areaHeight : mulDivRound(kPageArea.bottom, dpi, kBaseDpi);
    const int wanted = std::max(mulDivRound(100, scale.width, kPageArea.right),
                                mulDivRound(100, scale.height, kPageArea.bottom));
    scale.percent = 0;
    for (const skin::PictureSet& set : skin::kPictureSets) {
        scale.percent = set.percent;
        if (set.percent >= wanted) break;
    }
    return scale;
}

int scaleX(const SkinScale& scale, int x) { return mulDivRound(x, scale.width, kPageArea.right); }
int scaleY(const SkinScale& scale, int y) { return mulDivRound(y, scale.height, kPageArea.bottom); }

SkinRect scaleRect(const SkinScale& scale, const SkinRect& rect) {
    return SkinRect{scaleX(scale, rect.left), scaleY(scale, rect.top), scaleX(scale, rect.right),
                    scaleY(scale, rect.bottom)};
}

SkinPoint unscalePoint(const SkinScale& scale, SkinPoint point) {
    return SkinPoint{mulDivRound(point.x, kPageArea.right, scale.width),
                     mulDivRound(point.y, kPageArea.bottom, scale.height)};
}

bool isIdentity(const SkinScale& scale) {
    return scale.width == kPageArea.right && scale.height == kPageArea.bottom;
}

}  // namespace zentra
