#include "preset/display_scale.h"

namespace zentra {

int scaleToDpi(int value, int dpi) {
    if (dpi <= 0) dpi = kBaseDpi;
    const long long scaled = static_cast<long long>(value < 0 ? -value : value) * dpi;
    const int rounded = static_cast<int>((scaled + kBaseDpi / 2) / kBaseDpi);
    return value < 0 ? -rounded : rounded;
}

int trayIconSize(int dpi) { return scaleToDpi(16, dpi); }

}  // namespace zentra
