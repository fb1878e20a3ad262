#include "driver/axis_tables.h"

#include <cstring>

namespace zentra {

// Every stored value is taken modulo 256, as the driver has always received
// it; indices are kept inside the 256-entry work tables whatever the
// arguments.

namespace {

constexpr int kSize = 256;

int clampIndex(int i) { return i < 0 ? 0 : (i >= kSize ? kSize - 1 : i); }

// A half of a centred table, scattered from the curve: H[(j * span) / 128] =
// (S[j] * scale) / 128, then H[i] = H[span - 1] from span on.
void scatterHalf(uint8_t (&half)[kSize], const SensitivityTable& curve, int span, int scale) {
    std::memset(half, 0, sizeof half);
    for (int j = 0; j < kSensitivityEntries; ++j)
        half[clampIndex((j * span) / 128)] = uint8_t((curve.entry[j] * scale) / 128);
    for (int i = span; i < kSize; ++i) half[clampIndex(i)] = half[clampIndex(span - 1)];
}

// A half of the loader's table, sampled from the curve: H[i] =
// (S[(i * 128) / span] * scale) / 128 for i below span.
void sampleHalf(uint8_t (&half)[kSize], const SensitivityTable& curve, int span, int scale, int tailStep) {
    std::memset(half, 0, sizeof half);
    for (int i = 0; i < span && i < kSize; ++i) {
        int k = (i * 128) / span;
        if (k >= kSensitivityEntries) k = kSensitivityEntries - 1;
        half[i] = uint8_t((curve.entry[k] * scale) / 128);
    }
    for (int i = span; i < kSize; ++i) half[clampIndex(i)] = uint8_t(half[clampIndex(span - 1)] + tailStep);
}

// T[mid - j] = mid -/+ A[j] for j = 0..mid, then T[k] = mid +/- B[k - mid].
void joinHalves(AxisTable& table, const uint8_t (&a)[kSize], const uint8_t (&b)[kSize], int mid, int sign) {
    for (int j = 0; j <= mid && j < kSize; ++j) table.entry[clampIndex(mid - j)] = uint8_t(mid - sign * a[j]);
    for (int k = mid; k < kSize; ++k) table.entry[clampIndex(k)] = uint8_t(mid + sign * b[clampIndex(k - mid)]);
}

}  // namespace

void buildSymmetricTable(AxisTable& table, const SensitivityTable& curve, int lo, int mid, int hi, bool invert) {
    const int low = mid - lo;
    int high = hi - mid;
    if (high > 127) high = 128;
    uint8_t a[kSize], b[kSize];
    scatterHalf(a, curve, low, invert ? high : low);
    scatterHalf(b, curve, high, invert ? low : high);
    std::memset(table.entry, 0, sizeof table.entry);
    joinHalves(table, a, b, mid, invert ? -1 : 1);
}

void buildPedalTable(AxisTable& table, const SensitivityTable& curve, int lo, int hi) {
    std::memset(table.entry, 0, sizeof table.entry);
    const int span = hi - lo;
    if (span <= 0) return;
    for (int i = lo; i < hi && i < kSize; ++i) {
        int k = ((i - lo) * 127) / span;
        if (k > 127) k = 127;
        const int reversed = curve.entry[127 - k];
        table.entry[clampIndex(i)] = uint8_t(hi - (reversed * span) / 127);
    }
    for (int i = hi; i < kSize; ++i) table.entry[clampIndex(i)] = uint8_t(table.entry[clampIndex(hi - 1)] + 1);
    for (int i = 0; i < lo && i < kSize; ++i) table.entry[i] = table.entry[clampIndex(lo)];
}

void buildLoaderTable(AxisTable& table, const SensitivityTable& curve, int lo, int mid, int hi, bool invert) {
    int low = mid - lo, high = hi - mid;
    if (low == 0) low = 1;
    if (high == 0) high = 1;
    uint8_t a[kSize], b[kSize];
    sampleHalf(a, curve, low, invert ? high : low, 0);
    // Inverted, the upper half's tail climbs one step past its last value.
    sampleHalf(b, curve, high, invert ? low : high, invert ? 1 : 0);
    std::memset(table.entry, 0, sizeof table.entry);
    joinHalves(table, a, b, mid, invert ? -1 : 1);
}

}  // namespace zentra
