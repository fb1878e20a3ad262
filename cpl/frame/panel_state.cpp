// The control panel's module-wide preset state, in static storage.
#include "cpl/frame/panel_state.h"

#include <cstring>
#include <type_traits>

namespace zentra {

static_assert(std::is_trivially_copyable<PanelState>::value, "the panel state is plain data");

namespace {
// Zero-initialised static storage: some 500 KB, never on a stack.
PanelState g_state;
}  // namespace

PanelState& panelState() { return g_state; }

void resetPanelState() { std::memset(&g_state, 0, sizeof g_state); }

}  // namespace zentra
