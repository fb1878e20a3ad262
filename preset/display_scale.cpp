#include "preset/display_scale.h"

namespace zentra {

int mulDivRound(int value, int num, int den) {
    const long long magnitude = static_cast<long long>(value < 0 ? -value : value) * num;
    const int rounded = static_cast<int>((2 * magnitude + den) / (2LL * den));
    return value < 0 ? -rounded : rounded;
}

int scaleToDpi(int value, int dpi) { return mulDivRound(value, dpi > 0 ? dpi : kBaseDpi, kBaseDpi); }

int trayIconSize(int dpi) { return scaleToDpi(16, dpi); }

}  // namespace zentra
