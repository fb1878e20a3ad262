// The calibration's arithmetic.
#include "cpl/frame/calibration_logic.h"

#include <cmath>

#include "cpl/frame/localized_text.h"

namespace zentra {

namespace {

constexpr int kMeasuredAxes = 3;
constexpr int kAxisByte[kMeasuredAxes] = {kReportX, kReportY, kReportZ};
constexpr int kAxisX = 0, kAxisY = 1, kAxisZ = 2, kAxisR = 3, kAxisU = 4, kAxisV = 5;

void setWord(uint8_t* record, size_t base, int axis, uint32_t value) { writeU32(record + base + 4 * axis, value); }

}  // namespace

void resetMeasurement(CalibrationMeasurement& m) {
    for (int axis = 0; axis < 4; ++axis) {
        m.minimum[axis] = 255;
        m.maximum[axis] = 0;
    }
    m.xCentre = 0;
}

void restStep(CalibrationMeasurement& m, const WheelReport& report) { m.xCentre = report.bytes[kReportX]; }

void trackingStep(CalibrationMeasurement& m, const WheelReport& report) {
    for (int axis = 0; axis < kMeasuredAxes; ++axis) {
        const uint8_t value = report.bytes[kAxisByte[axis]];
        if (value >= m.maximum[axis]) m.maximum[axis] = value;
        if (value <= m.minimum[axis]) m.minimum[axis] = value;
    }
}

bool reportButtonPressed(const WheelReport& report) {
    return report.bytes[kReportButtons0] != 0 || report.bytes[kReportButtons1] != 0;
}

bool measurementUsable(const CalibrationMeasurement& m) {
    const int centre[kMeasuredAxes] = {m.xCentre, m.minimum[kAxisY] + (m.maximum[kAxisY] - m.minimum[kAxisY]) / 2, 127};
    for (int axis = 0; axis < kMeasuredAxes; ++axis)
        if (m.maximum[axis] <= m.minimum[axis] || centre[axis] < m.minimum[axis] || centre[axis] > m.maximum[axis])
            return false;
    return true;
}

const char* calibrationRefusedText(uint16_t uiLanguage) {
    // Western code page texts.
    static const struct {
        uint16_t language;
        const char* text;
    } kTexts[] = {
        {kUiEnglish, "The calibration was not stored: turn the wheel to both ends and press each pedal through its "
                     "whole travel, then confirm again."},
        {kUiGerman, "Die Kalibrierung wurde nicht gespeichert: Drehen Sie das Lenkrad bis zu beiden Anschl\xE4gen und "
                    "treten Sie jedes Pedal ganz durch, dann best\xE4tigen Sie erneut."},
        {kUiFrench, "L'\xE9talonnage n'a pas \xE9t\xE9 enregistr\xE9 : tournez le volant jusqu'aux deux but\xE9" "es et "
                    "enfoncez chaque p\xE9" "dale sur toute sa course, puis confirmez \xE0 nouveau."},
        {kUiSpanish, "La calibraci\xF3n no se guard\xF3: gire el volante hasta ambos topes y pise cada pedal a fondo, "
                     "luego confirme de nuevo."},
        {kUiItalian, "La calibrazione non \xE8 stata salvata: ruotate il volante fino ai due fine corsa e premete ogni "
                     "pedale fino in fondo, poi confermate di nuovo."},
        {kUiPortuguese, "A calibra\xE7\xE3o n\xE3o foi guardada: rode o volante at\xE9 aos dois batentes e carregue "
                        "cada pedal at\xE9 ao fim, depois confirme de novo."},
        {kUiDutch, "De kalibratie is niet opgeslagen: draai het stuur naar beide aanslagen en trap elk pedaal helemaal "
                   "in, bevestig daarna opnieuw."},
    };
    for (const auto& t : kTexts)
        if (t.language == uiLanguage || (uiLanguage == kDutchTable && t.language == kUiDutch)) return t.text;
    return kTexts[0].text;
}

MarkerPlaces markerPlaces(uint8_t x, uint8_t y, uint8_t z) {
    const double angle = (127 - int(x)) * 3.1415 / 255;
    MarkerPlaces p;
    p.wheel = MarkerPlace{int(72 - 39 * std::sin(angle) - 4), int(97 - 40 * std::cos(angle) - 4)};
    p.firstPedal = MarkerPlace{148, 17 + (76 * int(y)) / 255};
    p.secondPedal = MarkerPlace{186, 17 + (76 * int(z)) / 255};
    return p;
}

void buildCalibrationRecord(uint8_t (&record)[kHardwareConfigSize], const uint8_t (&system)[kHardwareConfigSize],
                            const CalibrationMeasurement& m) {
    for (size_t i = 0; i < kHardwareConfigSize; ++i) record[i] = system[i];
    for (int axis = kAxisX; axis <= kAxisZ; ++axis) {
        setWord(record, kHwMinOffset, axis, m.minimum[axis]);
        setWord(record, kHwMaxOffset, axis, m.maximum[axis]);
    }
    setWord(record, kHwMinOffset, kAxisR, 255);
    setWord(record, kHwMaxOffset, kAxisR, 0);
    setWord(record, kHwCenterOffset, kAxisX, m.xCentre);
    // Signed division, rounding toward zero, as the record's words are read.
    const int32_t yCentre = int32_t(m.minimum[kAxisY]) + (int32_t(m.maximum[kAxisY]) - int32_t(m.minimum[kAxisY])) / 2;
    setWord(record, kHwCenterOffset, kAxisY, uint32_t(yCentre));
    setWord(record, kHwCenterOffset, kAxisZ, 127);
    setWord(record, kHwCenterOffset, kAxisR, 127);
    writeU32(record + kHwCalFlagsOffset, 3);
}

void neutralHardwareRecord(uint8_t (&record)[kHardwareConfigSize]) {
    for (int axis = kAxisX; axis <= kAxisR; ++axis) {
        setWord(record, kHwMaxOffset, axis, 255);
        setWord(record, kHwMinOffset, axis, 0);
        setWord(record, kHwCenterOffset, axis, 127);
    }
    for (int axis = kAxisU; axis <= kAxisV; ++axis) {
        setWord(record, kHwMaxOffset, axis, 0);
        setWord(record, kHwMinOffset, axis, 0);
        setWord(record, kHwCenterOffset, axis, 0);
    }
    writeU32(record + kHwButtonsOffset, 8);
    writeU32(record + kHwUsageOffset, 6);
    writeU32(record + kHwCalFlagsOffset, 3);
    writeU32(record + kHwTypeOffset, 13);
}

}  // namespace zentra
