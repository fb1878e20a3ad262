// The pictures of the programs' resources, one function per output. Each
// writes its files into `dir` and returns false, with a message, on failure.
// Drawing depends on nothing but the code: the same program always writes
// the same bytes.
#pragma once

#include <string>

namespace artwork {

// The tray loader's icons: zntusb_234.ico (the wheel) and zntusb_235.ico
// (the wheel, keyboard emulation disabled), each at 16, 32 and 48 pixels.
bool writeLoaderIcons(const std::string& dir);

}  // namespace artwork
