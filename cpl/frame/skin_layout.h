// Where the control panel's pictures lie in its bitmaps: every picture that a
// page, dialog or painter cuts out of a bitmap resource, as the bitmap's id
// and the rectangle the copy reads. The artwork generator (tools/artwork)
// draws each picture at exactly these places; the pages take the corners
// from here. The painters copy at the size of the control they draw, so a
// picture's size is the control's size.
//
// Plain constants, no platform headers: the generator, the unit tests and
// the Windows code all include it.
#pragma once

namespace zentra::skin {

// Bitmap resource ids.
constexpr int kConfigBitmap = 186;   // background of the button and axis pages
constexpr int kPresetsBitmap = 187;  // background of the presets page and the import/export dialog
constexpr int kTestBitmap = 188;     // background of the test page and the calibration dialog
constexpr int kSkinBitmap = 189;     // tabs, push buttons, sprites and pictures of every page
constexpr int kPatternBitmap = 190;  // the key-sequence boxes' brush tile
constexpr int kSlotPagesBitmap = 191;  // the D-pad page's pad, the mouse-button commands, the wheel's right end
constexpr int kAboutLinkHeldBitmap = 195;
constexpr int kAboutLinkBitmap = 196;
constexpr int kAboutBitmap = 197;

struct BitmapSize {
    int bitmap;
    int width;
    int height;
};

// Every bitmap is 8 bits per pixel with one 256-colour palette.
constexpr BitmapSize kBitmapSizes[] = {
    {kConfigBitmap, 595, 370},   {kPresetsBitmap, 595, 370}, {kTestBitmap, 595, 370},
    {kSkinBitmap, 913, 345},     {kPatternBitmap, 8, 8},     {kSlotPagesBitmap, 306, 222},     {kAboutLinkHeldBitmap, 143, 12},
    {kAboutLinkBitmap, 143, 12}, {kAboutBitmap, 595, 162},
};

// Picture sets. Every bitmap, the wheel clip and the icons are drawn at
// 100 % and again, sharp, at 150 % and 200 % of the sizes given here, for
// screens of 144 and 192 DPI. A set's bitmap or clip has the 100 % resource
// id plus the set's offset; a place or size v of the 100 % pictures lies at
// pictureInSet(v, percent) in a set's (each edge scaled, halves up).
struct PictureSet {
    int percent;
    int idOffset;
};
constexpr PictureSet kPictureSets[] = {{100, 0}, {150, 1000}, {200, 2000}};
constexpr int pictureInSet(int v, int percent) { return (v * percent + 50) / 100; }

// A picture: its bitmap and the rectangle a copy reads from it.
struct Sprite {
    int bitmap;
    int x;
    int y;
    int width;
    int height;
    constexpr int right() const { return x + width; }
    constexpr int bottom() const { return y + height; }
};

// A place on a page or dialog (client coordinates).
struct Place {
    int x;
    int y;
};

// --- Backgrounds ------------------------------------------------------------

constexpr Sprite kConfigPage{kConfigBitmap, 0, 0, 594, 369};           // button and axis pages, WM_PAINT
constexpr Sprite kPresetsPage{kPresetsBitmap, 0, 0, 594, 369};         // presets page, WM_PAINT
constexpr Sprite kImportExportDialog{kPresetsBitmap, 0, 0, 474, 368};  // import/export dialog, WM_PAINT
constexpr Sprite kTestPage{kTestBitmap, 0, 0, 594, 369};               // test page, WM_PAINT
// The calibration dialog paints its client area (0, 0)-(288, 152) from this
// band of the test page's background (the part the test page hides behind
// its video is free for the dialog's own marks).
constexpr Sprite kCalibrationDialog{kTestBitmap, 0, 101, 288, 152};
constexpr Sprite kAboutBox{kAboutBitmap, 0, 0, 595, 162};  // About box, WM_PAINT

// The main page copies its own background from this point of the skin, which
// lies below the skin's 345 rows: the copy draws nothing, and the page is
// always covered by a child page and the tabs.
constexpr Place kMainPageBackgroundSource{305, 601};

// --- Main page: tab buttons (PaintSkinButton; normal, hovered, selected) ----
// Each picture is 87 x 56 with a spare column and row; the tab is 88 x 57 and
// the copy takes that much. Tab 247's window has a square hole at
// (52, 20)-(84, 52) where the game icon shows: its pictures frame that hole.

constexpr Sprite kTabButtonsNormal{kSkinBitmap, 643, 1, 88, 57};  // 243, button page
constexpr Sprite kTabButtonsHovered{kSkinBitmap, 733, 1, 88, 57};
constexpr Sprite kTabButtonsSelected{kSkinBitmap, 823, 1, 88, 57};
// The D-pad tab is lower, 88 x 48 (87 x 47 pictures), to fit above the
// button tab; its pictures lie beside the calibration wheel and below the
// presets tab's.
constexpr Sprite kTabPovNormal{kSkinBitmap, 737, 62, 88, 48};  // 244, D-pad page
constexpr Sprite kTabPovHovered{kSkinBitmap, 825, 62, 88, 48};
constexpr Sprite kTabPovSelected{kSkinBitmap, 592, 296, 88, 48};
constexpr Sprite kTabAxisNormal{kSkinBitmap, 643, 119, 88, 57};  // 245, axis page
constexpr Sprite kTabAxisHovered{kSkinBitmap, 733, 119, 88, 57};
constexpr Sprite kTabAxisSelected{kSkinBitmap, 823, 119, 88, 57};
constexpr Sprite kTabTestNormal{kSkinBitmap, 643, 178, 88, 57};  // 246, test page
constexpr Sprite kTabTestHovered{kSkinBitmap, 733, 178, 88, 57};
constexpr Sprite kTabTestSelected{kSkinBitmap, 823, 178, 88, 57};
constexpr Sprite kTabPresetsNormal{kSkinBitmap, 643, 237, 88, 57};  // 247, presets page
constexpr Sprite kTabPresetsHovered{kSkinBitmap, 733, 237, 88, 57};
constexpr Sprite kTabPresetsSelected{kSkinBitmap, 823, 237, 88, 57};

// PaintPushButton and PaintLabel copy a bitmap's own corner (0, 0) for a
// disabled control; the skin keeps a plain plate there for controls up to
// this size.
constexpr Sprite kDisabledCorner{kSkinBitmap, 0, 0, 106, 57};

// --- Calibration dialog ------------------------------------------------------

// The upper half of the wheel, drawn at (28, 51); the wheel marker rides its
// rim around the dialog point (72, 97).
constexpr Sprite kCalibrationWheel{kSkinBitmap, 649, 66, 87, 46};
constexpr Place kCalibrationWheelAt{28, 51};
// Confirm button 1 (PaintSkinButton by the OK-picture state): state 1, while
// waiting for the rest position, confirms the centre; state 0 stores.
constexpr Sprite kCalibrationConfirmStore{kSkinBitmap, 598, 151, 42, 29};  // states 0 and other
constexpr Sprite kCalibrationConfirmRest{kSkinBitmap, 598, 213, 42, 29};   // state 1
constexpr Sprite kCalibrationCancel{kSkinBitmap, 598, 182, 42, 29};        // button 2, all three pictures
// Backgrounds of the instruction texts 270 and 271 (PaintLabel).
constexpr Sprite kCalibrationFirstText{kTestBitmap, 10, 211, 260, 20};
constexpr Sprite kCalibrationSecondText{kTestBitmap, 10, 221, 260, 20};

// --- Presets page ------------------------------------------------------------
// Owner-drawn buttons with PaintSkinButton, one picture for all states.

constexpr Sprite kPresetNew{kSkinBitmap, 394, 126, 38, 38};           // 1041
constexpr Sprite kPresetDuplicate{kSkinBitmap, 434, 126, 38, 38};     // 1050
constexpr Sprite kPresetDelete{kSkinBitmap, 394, 166, 38, 38};        // 1048
constexpr Sprite kPresetUndo{kSkinBitmap, 434, 166, 38, 38};          // 1049
constexpr Sprite kPresetPrint{kSkinBitmap, 394, 206, 38, 38};         // 1051
constexpr Sprite kPresetImportExport{kSkinBitmap, 434, 206, 38, 38};  // 1036
constexpr Sprite kPresetBrowse{kSkinBitmap, 432, 252, 20, 20};        // 242, the executable's file
// About button 269 (10, 8): the piece of the page under it, a maker's mark.
constexpr Sprite kPresetsAbout{kPresetsBitmap, 10, 8, 155, 11};

// Preset list rows (presets page and both lists of the import/export
// dialog). A row is copied 30 pixels wider than the row; the skin ends 181
// columns after x = 732, the lists' client width, so that is what shows.
constexpr Sprite kListRow{kSkinBitmap, 732, 317, 181, 22};
constexpr Sprite kListRowSelected{kSkinBitmap, 732, 295, 181, 22};

// --- Import/export dialog ----------------------------------------------------
// Flat owner-drawn buttons, one picture for all states.

constexpr Sprite kImportFile{kSkinBitmap, 312, 0, 20, 20};      // 257, load a file into the file table
constexpr Sprite kExportFile{kSkinBitmap, 334, 0, 20, 20};      // 263, save the file table
constexpr Sprite kCopyToPresets{kSkinBitmap, 271, 0, 39, 27};   // 259, file presets to the left
constexpr Sprite kCopyToFile{kSkinBitmap, 230, 0, 39, 27};      // 260, left presets to the file table
constexpr Sprite kDeletePresets{kSkinBitmap, 178, 0, 24, 39};   // 262, delete on the left
constexpr Sprite kDeleteFromFile{kSkinBitmap, 204, 0, 24, 39};  // 261, delete on the right
constexpr Sprite kImportExportUndo{kSkinBitmap, 136, 0, 40, 40};  // 258

// --- Button page -------------------------------------------------------------

// The wheel with its buttons, copied to the same place of the page. The
// connectors of the slots end on its buttons: slot 0 (480, 226),
// 1 (481, 258), 2 (253, 160), 3 (344, 160), 4 (142, 138), 5 (452, 138),
// 6 (230, 175), 7 (365, 175), 8 (187, 109), 9 (163, 168), 10 (154, 226),
// 11 (154, 258), 12 (315, 308). The presets page's buttons and the axis
// page's second pedal lie inside this rectangle, over the wheel's right end:
// the presets page's buttons are drawn as the wheel's right-hand button pod,
// whose Duplicate button is slot 5's, and the button page covers them (and
// the pedal) with kWheelPlainRight.
constexpr Sprite kButtonPageWheel{kSkinBitmap, 134, 40, 372, 302};
// The same wheel's right end as the button page shows it, drawn over the
// copy above: the pod's buttons are plain caps (the presets page's glyphs
// would read as actions on a wheel) and the axis page's pedal is not there.
constexpr Sprite kWheelPlainRight{kSlotPagesBitmap, 224, 0, 82, 222};
constexpr Place kWheelPlainRightAt{392, 52};
// Select buttons 1084-1091 (PaintSkinButton with selectDown; picture2 is Up).
constexpr Sprite kRecordButtonUp{kSkinBitmap, 0, 249, 23, 22};
constexpr Sprite kRecordButtonDown{kSkinBitmap, 25, 249, 23, 22};
// Clear button 1100 (PaintPushButton).
constexpr Sprite kClearButtonNormal{kSkinBitmap, 0, 218, 39, 29};
constexpr Sprite kClearButtonPressed{kSkinBitmap, 41, 218, 39, 29};
constexpr Sprite kClearButtonFocused{kSkinBitmap, 82, 218, 39, 29};
// About button 269 of the button and axis pages: the piece of the page under it.
constexpr Sprite kConfigAbout{kConfigBitmap, 10, 8, 155, 11};
// The key-sequence boxes' pattern brush.
constexpr Sprite kPatternTile{kPatternBitmap, 0, 0, 8, 8};

// Mouse-button commands 253 (left) and 254 (right) of the button and D-pad
// pages (PaintPushButton: normal, pressed; focused is normal).
constexpr Sprite kLeftMouseNormal{kSlotPagesBitmap, 162, 0, 29, 29};
constexpr Sprite kLeftMousePressed{kSlotPagesBitmap, 162, 31, 29, 29};
constexpr Sprite kRightMouseNormal{kSlotPagesBitmap, 193, 0, 29, 29};
constexpr Sprite kRightMousePressed{kSlotPagesBitmap, 193, 31, 29, 29};
// Their look while the selected slot cannot send a mouse button (D-pad
// directions past the third: the preset has no mouse flag for them).
constexpr Sprite kLeftMouseDisabled{kSlotPagesBitmap, 162, 62, 29, 29};
constexpr Sprite kRightMouseDisabled{kSlotPagesBitmap, 193, 62, 29, 29};

// --- D-pad page ----------------------------------------------------------------

// The pad, drawn with its centre at (297, 190); the connectors of the eight
// directions end on its arrows, 55 pixels from the centre.
constexpr Sprite kPovPad{kSlotPagesBitmap, 0, 0, 160, 160};
constexpr Place kPovPadAt{217, 110};

// --- Axis page ---------------------------------------------------------------

// Pictures above the curve boxes, each drawn at the place that follows it.
constexpr Sprite kAxisSteeringPicture{kSkinBitmap, 482, 2, 159, 146};  // above boxes 101 and 102
constexpr Place kAxisSteeringPictureAt{139, 46};
constexpr Sprite kAxisFirstPedalPicture{kSkinBitmap, 382, 0, 46, 42};  // above box 103
constexpr Place kAxisFirstPedalPictureAt{383, 114};
constexpr Sprite kAxisSecondPedalPicture{kSkinBitmap, 433, 54, 28, 69};  // above box 104
constexpr Place kAxisSecondPedalPictureAt{457, 87};
// Reset buttons 1036, 1038, 1039 and curve-type buttons 1065, 1067, 1068
// (PaintPushButton).
constexpr Sprite kResetNormal{kSkinBitmap, 0, 310, 42, 12};
constexpr Sprite kResetPressed{kSkinBitmap, 44, 310, 42, 12};
constexpr Sprite kResetFocused{kSkinBitmap, 88, 310, 42, 12};
constexpr Sprite kCurveTypeNormal{kSkinBitmap, 0, 324, 42, 12};
constexpr Sprite kCurveTypePressed{kSkinBitmap, 44, 324, 42, 12};
constexpr Sprite kCurveTypeFocused{kSkinBitmap, 88, 324, 42, 12};
// Link-pedals toggle 275 (PaintSkinButton with the working pedalsLinked:
// picture0 and picture2 Separate, picture1 Linked).
constexpr Sprite kPedalsSeparate{kSkinBitmap, 0, 273, 99, 17};
constexpr Sprite kPedalsLinked{kSkinBitmap, 0, 291, 99, 17};

// --- Test page ---------------------------------------------------------------

// The video window's place; the clip shows inside the ellipse of this square.
constexpr Place kWheelVideoAt{136, 97};
constexpr int kWheelVideoSize = 197;
constexpr int kWheelVideoFrames = 46;
// Calibration button 1139 (PaintPushButton).
constexpr Sprite kCalibrationButtonNormal{kSkinBitmap, 0, 177, 39, 39};
constexpr Sprite kCalibrationButtonPressed{kSkinBitmap, 41, 177, 39, 39};
constexpr Sprite kCalibrationButtonFocused{kSkinBitmap, 82, 177, 39, 39};
// About button 269: the piece of the page under it, for all three pictures.
constexpr Sprite kTestAbout{kTestBitmap, 10, 8, 155, 11};
// Keyboard indicator 174 (PaintPushButton): normal, pressed = lit; an
// indicator has no focus look, so focused is the normal picture.
constexpr Sprite kKeyboardIndicatorNormal{kSkinBitmap, 0, 59, 106, 57};
constexpr Sprite kKeyboardIndicatorLit{kSkinBitmap, 0, 118, 106, 57};
// A pressed button 2-7: the lit dot drawn over the video, turning with it.
constexpr Sprite kButtonDot{kSkinBitmap, 110, 0, 15, 15};
// The steering marker on its arc; the page puts the background back from the
// test page's bitmap at the same place.
constexpr Sprite kSteeringMarker{kSkinBitmap, 110, 17, 15, 15};
// Lamps of buttons 0 and 1, at (361, 244) and (361, 258).
constexpr Sprite kFirstLampOff{kSkinBitmap, 108, 34, 12, 12};
constexpr Sprite kFirstLampOn{kSkinBitmap, 121, 34, 12, 12};
constexpr Sprite kSecondLampOff{kSkinBitmap, 108, 48, 12, 12};
constexpr Sprite kSecondLampOn{kSkinBitmap, 121, 48, 12, 12};
constexpr Place kFirstLampAt{361, 244};
constexpr Place kSecondLampAt{361, 258};
// Pedal gauges: L rows of the bar slice from the gauge's x, then the end cap
// centred on the bar (its left 6 pixels left of the bar's) at the bar's end.
// The cap is drawn with its mask: the mask (black where the cap is, white
// around it) with SRCAND, then the cap (black around it) with SRCPAINT.
constexpr Sprite kFirstPedalBar{kSkinBitmap, 108, 108, 8, 1};   // gauge 1, x = 420, down from y = 218
constexpr Sprite kSecondPedalBar{kSkinBitmap, 118, 108, 8, 1};  // gauge 2, x = 480, up from y = 175
constexpr Sprite kGaugeCap{kSkinBitmap, 108, 62, 21, 15};
constexpr Sprite kGaugeCapMask{kSkinBitmap, 108, 79, 21, 15};
constexpr int kGaugeCapOffset = 6;
// Pedal pictures, released and pressed, and the link sign between them.
constexpr Sprite kFirstPedalReleased{kSkinBitmap, 508, 150, 46, 38};
constexpr Sprite kFirstPedalPressed{kSkinBitmap, 508, 190, 46, 38};
constexpr Place kFirstPedalAt{400, 180};
constexpr Sprite kSecondPedalReleased{kSkinBitmap, 558, 150, 28, 69};
constexpr Sprite kSecondPedalPressed{kSkinBitmap, 558, 221, 28, 69};
constexpr Place kSecondPedalAt{470, 175};
constexpr Sprite kPedalLinkSign{kSkinBitmap, 108, 96, 21, 10};
constexpr Place kPedalLinkSignAt{448, 197};

// --- About box ---------------------------------------------------------------

// Link button 272 (143 x 11): 196 normally, 195 while held down; each bitmap
// has a spare row.
constexpr Sprite kAboutLink{kAboutLinkBitmap, 0, 0, 143, 11};
constexpr Sprite kAboutLinkHeld{kAboutLinkHeldBitmap, 0, 0, 143, 11};

// --- Every picture, for the generator and the tests ---------------------------

struct NamedSprite {
    const char* name;
    Sprite sprite;
    bool backdrop;  // a page or dialog background: the other pictures of its bitmap lie on it
};

constexpr NamedSprite kAllSprites[] = {
    {"config page", kConfigPage, true},
    {"presets page", kPresetsPage, true},
    {"import/export dialog", kImportExportDialog, true},
    {"test page", kTestPage, true},
    {"calibration dialog", kCalibrationDialog, true},
    {"about box", kAboutBox, true},
    {"tab buttons normal", kTabButtonsNormal, false},
    {"tab buttons hovered", kTabButtonsHovered, false},
    {"tab buttons selected", kTabButtonsSelected, false},
    {"tab pov normal", kTabPovNormal, false},
    {"tab pov hovered", kTabPovHovered, false},
    {"tab pov selected", kTabPovSelected, false},
    {"tab axis normal", kTabAxisNormal, false},
    {"tab axis hovered", kTabAxisHovered, false},
    {"tab axis selected", kTabAxisSelected, false},
    {"tab test normal", kTabTestNormal, false},
    {"tab test hovered", kTabTestHovered, false},
    {"tab test selected", kTabTestSelected, false},
    {"tab presets normal", kTabPresetsNormal, false},
    {"tab presets hovered", kTabPresetsHovered, false},
    {"tab presets selected", kTabPresetsSelected, false},
    {"disabled corner", kDisabledCorner, false},
    {"calibration wheel", kCalibrationWheel, false},
    {"calibration confirm store", kCalibrationConfirmStore, false},
    {"calibration confirm rest", kCalibrationConfirmRest, false},
    {"calibration cancel", kCalibrationCancel, false},
    {"calibration first text", kCalibrationFirstText, false},
    {"calibration second text", kCalibrationSecondText, false},
    {"preset new", kPresetNew, false},
    {"preset duplicate", kPresetDuplicate, false},
    {"preset delete", kPresetDelete, false},
    {"preset undo", kPresetUndo, false},
    {"preset print", kPresetPrint, false},
    {"preset import/export", kPresetImportExport, false},
    {"preset browse", kPresetBrowse, false},
    {"presets about", kPresetsAbout, false},
    {"list row", kListRow, false},
    {"list row selected", kListRowSelected, false},
    {"import file", kImportFile, false},
    {"export file", kExportFile, false},
    {"copy to presets", kCopyToPresets, false},
    {"copy to file", kCopyToFile, false},
    {"delete presets", kDeletePresets, false},
    {"delete from file", kDeleteFromFile, false},
    {"import/export undo", kImportExportUndo, false},
    {"button page wheel", kButtonPageWheel, false},
    {"wheel plain right", kWheelPlainRight, false},
    {"record button up", kRecordButtonUp, false},
    {"record button down", kRecordButtonDown, false},
    {"clear button normal", kClearButtonNormal, false},
    {"clear button pressed", kClearButtonPressed, false},
    {"clear button focused", kClearButtonFocused, false},
    {"config about", kConfigAbout, false},
    {"pattern tile", kPatternTile, false},
    {"left mouse normal", kLeftMouseNormal, false},
    {"left mouse pressed", kLeftMousePressed, false},
    {"right mouse normal", kRightMouseNormal, false},
    {"right mouse pressed", kRightMousePressed, false},
    {"left mouse disabled", kLeftMouseDisabled, false},
    {"right mouse disabled", kRightMouseDisabled, false},
    {"pov pad", kPovPad, false},
    {"axis steering picture", kAxisSteeringPicture, false},
    {"axis first pedal picture", kAxisFirstPedalPicture, false},
    {"axis second pedal picture", kAxisSecondPedalPicture, false},
    {"reset normal", kResetNormal, false},
    {"reset pressed", kResetPressed, false},
    {"reset focused", kResetFocused, false},
    {"curve type normal", kCurveTypeNormal, false},
    {"curve type pressed", kCurveTypePressed, false},
    {"curve type focused", kCurveTypeFocused, false},
    {"pedals separate", kPedalsSeparate, false},
    {"pedals linked", kPedalsLinked, false},
    {"calibration button normal", kCalibrationButtonNormal, false},
    {"calibration button pressed", kCalibrationButtonPressed, false},
    {"calibration button focused", kCalibrationButtonFocused, false},
    {"test about", kTestAbout, false},
    {"keyboard indicator normal", kKeyboardIndicatorNormal, false},
    {"keyboard indicator lit", kKeyboardIndicatorLit, false},
    {"button dot", kButtonDot, false},
    {"steering marker", kSteeringMarker, false},
    {"first lamp off", kFirstLampOff, false},
    {"first lamp on", kFirstLampOn, false},
    {"second lamp off", kSecondLampOff, false},
    {"second lamp on", kSecondLampOn, false},
    {"first pedal bar", kFirstPedalBar, false},
    {"second pedal bar", kSecondPedalBar, false},
    {"gauge cap", kGaugeCap, false},
    {"gauge cap mask", kGaugeCapMask, false},
    {"first pedal released", kFirstPedalReleased, false},
    {"first pedal pressed", kFirstPedalPressed, false},
    {"second pedal released", kSecondPedalReleased, false},
    {"second pedal pressed", kSecondPedalPressed, false},
    {"pedal link sign", kPedalLinkSign, false},
    {"about link", kAboutLink, false},
    {"about link held", kAboutLinkHeld, false},
};

// Pictures that share pixels on purpose, by name. Every other pair of
// pictures of one bitmap is disjoint.
struct SharedPixels {
    const char* first;
    const char* second;
};

constexpr SharedPixels kSharedPixels[] = {
    // The button page shows the whole rectangle of its wheel, and the
    // presets page's buttons and the axis page's second pedal lie inside it:
    // they are drawn over the wheel's right end, the presets page's buttons
    // as the wheel's button pod.
    {"button page wheel", "preset new"},
    {"button page wheel", "preset duplicate"},
    {"button page wheel", "preset delete"},
    {"button page wheel", "preset undo"},
    {"button page wheel", "preset print"},
    {"button page wheel", "preset import/export"},
    {"button page wheel", "preset browse"},
    {"button page wheel", "axis second pedal picture"},
    // Their plain edges only: the steering picture's left margin and the
    // first pedal's bottom margin.
    {"button page wheel", "axis steering picture"},
    {"button page wheel", "axis first pedal picture"},
    // Both instruction texts are cut from the calibration band.
    {"calibration first text", "calibration second text"},
};

}  // namespace zentra::skin
