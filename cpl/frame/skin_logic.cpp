// The decisions of the skinned controls.
#include "cpl/frame/skin_logic.h"

#include "cpl/frame/main_page_logic.h"

namespace zentra {

SkinButtonPlan planSkinButton(uint32_t action, uint32_t itemState, SkinPoint picture0, SkinPoint picture1,
                              SkinPoint picture2, int buttonState) {
    SkinButtonPlan plan{};
    plan.picture = buttonState == 0 ? picture0 : buttonState == 1 ? picture1 : picture2;
    if (action == kActionDrawEntire) ++plan.copies;
    if (itemState == kStateDisabled) {
        ++plan.copies;
        plan.hatch = true;
    }
    return plan;
}

std::vector<int> hatchLines(int left, int width) {
    std::vector<int> lines;
    for (int k = 0; k < width; k += 3) lines.push_back(left + k);
    return lines;
}

std::vector<SkinPoint> planPushButton(uint32_t action, uint32_t itemState, SkinPoint normal, SkinPoint pressed,
                                      SkinPoint focused) {
    std::vector<SkinPoint> copies;
    if (action == kActionDrawEntire) copies.push_back(normal);
    if (itemState == kStateDisabled) copies.push_back(kBitmapCorner);
    if (action == kActionFocus && itemState == kStateFocus) copies.push_back(focused);
    if (action == kActionSelect) copies.push_back(itemState == kStateFocus ? normal : pressed);
    return copies;
}

bool aboutLinkHeld(uint32_t action, uint32_t itemState) {
    return action == kActionSelect && itemState != kStateFocus;
}

std::vector<LabelPass> planLabel(uint32_t action, uint32_t itemState, SkinPoint picture) {
    std::vector<LabelPass> passes;
    if (action == kActionDrawEntire) passes.push_back({picture, 5, 4});
    if (itemState == kStateDisabled) passes.push_back({kBitmapCorner, 1, 0});
    return passes;
}

std::vector<SkinRect> pageRegionHoles(uint32_t isEmulationDevice) {
    // The places of the tabs the wheel has: test (top right) and axes
    // (bottom left) always; buttons (left, above the axes), D-pad (above
    // the buttons) and presets (bottom right) on the emulation wheel.
    std::vector<SkinRect> holes;
    for (int id : {kTabTest, kTabAxis, kTabButtons, kTabPresets, kTabPov}) {
        const TabInfo& tab = *findTab(id);
        if (tabCreated(tab, isEmulationDevice)) holes.push_back(tab.place);
    }
    return holes;
}

EditFit fitEditField(size_t textLength, uint32_t currentStyle) {
    const bool isLong = textLength >= kEditLongFrom;
    EditFit fit{};
    fit.style = isLong ? kEditLongStyle : kEditShortStyle;
    fit.width = isLong ? 95 : 96;
    fit.height = isLong ? 34 : 22;
    fit.recreate = currentStyle == (isLong ? kEditShortStyle : kEditLongStyle);
    return fit;
}

}  // namespace zentra
