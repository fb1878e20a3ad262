// The pictures of the programs' resources, one function per output. Each
// writes its files into `dir` and returns false, with a message, on failure.
// Drawing depends on nothing but the code: the same program always writes
// the same bytes.
#pragma once

#include <string>

namespace artwork {

// The tray loader's icons: zntusb_234.ico (the wheel) and zntusb_235.ico
// (the wheel, keyboard emulation disabled), each at 16, 20, 24, 32 and 48
// pixels.
bool writeLoaderIcons(const std::string& dir);

// The control panel's bitmaps, 8 bits per pixel with one palette; the
// pictures lie where cpl/frame/skin_layout.h says. Each is written once per
// picture set (kPictureSets): cpl_<id>.bmp at 100 %, and the same drawing
// at 150 % and 200 % as cpl_<id + 1000>.bmp and cpl_<id + 2000>.bmp.
bool writeCplSkin(const std::string& dir);             // cpl_189.bmp: tabs, buttons, sprites, pictures
bool writeCplConfigPage(const std::string& dir);       // cpl_186.bmp: button and axis pages
bool writeCplPresetsPage(const std::string& dir);      // cpl_187.bmp: presets page, import/export dialog
bool writeCplTestPage(const std::string& dir);         // cpl_188.bmp: test page, calibration dialog
bool writeCplPatternTile(const std::string& dir);      // cpl_190.bmp: the key-sequence boxes' brush
bool writeCplSlotPages(const std::string& dir);        // cpl_191.bmp: D-pad pad, mouse-button commands
bool writeCplAboutBox(const std::string& dir);         // cpl_197.bmp: About box
bool writeCplAboutLink(const std::string& dir);        // cpl_196.bmp and cpl_195.bmp: its link button

// The control panel's icons and cursor, 8 bits per pixel, each file with an
// image per picture set.
bool writeCplPageIcon(const std::string& dir);      // cpl_115.ico: 32, 48, 64, the page's wheel
bool writeCplMarkerIcon(const std::string& dir);    // cpl_193.ico: 8, 12, 16, anchor and calibration marker
bool writeCplAnchorCursor(const std::string& dir);  // cpl_124.cur: 32, 48, 64, dragging a curve anchor

// wheel.avi: the wheel turning from full left to full right in 46 frames,
// MS Video 1, for the 197-pixel window (a 196-pixel clip); wheel_150.avi
// and wheel_200.avi: the same for the sets' 296- and 394-pixel windows
// (296- and 392-pixel clips).
bool writeWheelVideo(const std::string& dir);

}  // namespace artwork
