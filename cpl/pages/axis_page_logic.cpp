#include "cpl/pages/axis_page_logic.h"

namespace zentra {

AxisPageState loadAxisPageState(const Preset& preset) {
    AxisPageState s{};
    s.pedalsLinked = preset.pedalsLinked;
    for (int i = 0; i < 4; ++i) s.invert[i] = uint8_t((preset.axisInvert >> (8 * i)) & 1);
    for (int pair = 0; pair < 2; ++pair) s.mouseLayout[pair] = preset.mouseEmulation[pair] == 1;
    return s;
}

void storeAxisPageState(Preset& preset, const AxisPageState& state) {
    preset.pedalsLinked = state.pedalsLinked;
    uint32_t invert = 0;
    for (int i = 0; i < 4; ++i)
        if (state.invert[i]) invert |= 1u << (8 * i);
    preset.axisInvert = invert;
    for (int pair = 0; pair < 2; ++pair) preset.mouseEmulation[pair] = state.mouseLayout[pair] ? 1 : 0;
    preset.miscWord[0] = 0;
}

void closeAxisPageState(PanelState& panel, AxisPageState& state) {
    storeAxisPageState(panel.currentPreset, state);
    state = AxisPageState{};
    if (panel.currentIndex < panel.table.presetCount)
        copyPreset(panel.table.presets[panel.currentIndex], panel.currentPreset);
}

std::vector<int> axisActionStrings(uint16_t gameType) {
    switch (gameType) {
    case 0: return {16, 17, 19, 18, 30};  // flight simulator
    case 1: return {20, 21, 23, 22, 30};  // 3D action
    case 2: return {28, 29, 19, 18, 30};  // car/moto
    case 3: return {24, 25, 27, 26, 30};  // other
    default: return {};
    }
}

AxisCommand axisCommand(int id) {
    switch (id) {
    case 1036:
    case 1037: return {AxisAction::Reset, 1, 2};
    case 1038: return {AxisAction::Reset, 3, 3};
    case 1039: return {AxisAction::Reset, 4, 4};
    case 1065:
    case 1066: return {AxisAction::Toggle, 1, 2};
    case 1067: return {AxisAction::Toggle, 3, 3};
    case 1068: return {AxisAction::Toggle, 4, 4};
    case 275: return {AxisAction::Pedals, 0, 0};
    case 269: return {AxisAction::About, 0, 0};
    default: return {AxisAction::None, 0, 0};
    }
}

const std::vector<int>& mouseLayoutHidden(int pair) {
    static const std::vector<int> kPairs[2] = {{101, 102, 1031, 1032, 1036, 1037, 1065, 1066},
                                               {103, 104, 1033, 1034, 1038, 1039, 1067, 1068}};
    return kPairs[pair == 0 ? 0 : 1];
}

std::vector<SkinRect> axisPageFrames(const AxisPageState& state) {
    std::vector<SkinRect> frames;
    if (state.mouseLayout[0]) {
        frames.push_back({135, 219, 225, 390});
    } else {
        frames.push_back({135, 219, 225, 309});
        frames.push_back({225, 219, 315, 309});
    }
    if (state.mouseLayout[1]) {
        frames.push_back({309, 133, 399, 304});
    } else {
        frames.push_back({349, 173, 439, 263});
        frames.push_back({447, 173, 537, 263});
    }
    return frames;
}

}  // namespace zentra
