/* Resource ids of the control-panel plug-in, ZentraCpl.dll; included by
   cpl.rc and by code. Plain defines only: windres reads this file too.
   Everything but the string tables is stored once, under French (0x040C),
   and is found by id whatever the language. */
#ifndef ZENTRA_CPL_RESOURCE_H
#define ZENTRA_CPL_RESOURCE_H

/* Dialog templates, without controls: the pages create theirs at run time. */
#define IDD_CPL_MAIN_PAGE 144   /* the sheet's page */
#define IDD_CPL_CALIBRATION 174 /* axis calibration, moved and resized when shown */
#define IDD_CPL_PRESET_DIALOG 176
#define IDD_CPL_ABOUT 194

/* Bitmaps, loaded as DIB sections. */
#define IDB_CPL_BUTTON_PAGE 186 /* button and axis configuration pages */
#define IDB_CPL_PRESETS_PAGE 187 /* presets page and its dialog */
#define IDB_CPL_TEST_PAGE 188   /* test page and calibration dialog */
#define IDB_CPL_SKIN 189        /* main page, tabs, most push buttons */
#define IDB_CPL_PATTERN 190     /* 8 x 8 tile */
#define IDB_CPL_SLOT_PAGES 191  /* D-pad pad, mouse-button commands */
#define IDB_CPL_ABOUT_LINK_HELD 195
#define IDB_CPL_ABOUT_LINK 196
#define IDB_CPL_ABOUT 197

/* The same bitmaps drawn for screens at 150 % and 200 %: the 100 % id plus
   1000 or 2000 (the picture sets of cpl/frame/skin_layout.h). */
#define IDB_CPL_BUTTON_PAGE_150 1186
#define IDB_CPL_PRESETS_PAGE_150 1187
#define IDB_CPL_TEST_PAGE_150 1188
#define IDB_CPL_SKIN_150 1189
#define IDB_CPL_PATTERN_150 1190 /* 12 x 12 */
#define IDB_CPL_SLOT_PAGES_150 1191
#define IDB_CPL_ABOUT_LINK_HELD_150 1195
#define IDB_CPL_ABOUT_LINK_150 1196
#define IDB_CPL_ABOUT_150 1197
#define IDB_CPL_BUTTON_PAGE_200 2186
#define IDB_CPL_PRESETS_PAGE_200 2187
#define IDB_CPL_TEST_PAGE_200 2188
#define IDB_CPL_SKIN_200 2189
#define IDB_CPL_PATTERN_200 2190 /* 16 x 16 */
#define IDB_CPL_SLOT_PAGES_200 2191
#define IDB_CPL_ABOUT_LINK_HELD_200 2195
#define IDB_CPL_ABOUT_LINK_200 2196
#define IDB_CPL_ABOUT_200 2197

/* Icons and cursor, each with an image per picture set (page icon and
   cursor 32, 48, 64 pixels; marker 8, 12, 16). */
#define IDI_CPL_PAGE 115   /* the page's icon */
#define IDI_CPL_MARKER 193 /* drawn by "MOVEICON" and "ANCHORCUSTOM" */
#define IDC_CPL_ANCHOR 124 /* over an "ANCHORCUSTOM" point */

/* The wheel video clip, of the custom type "AVI", and the same clip for
   screens at 150 % and 200 % (296- and 392-pixel frames). */
#define IDR_CPL_WHEEL_AVI 199
#define IDR_CPL_WHEEL_AVI_150 1199
#define IDR_CPL_WHEEL_AVI_200 2199

/* Strings 1 to 105, in seven languages. */
#define IDS_CPL_FIRST 1
#define IDS_CPL_LAST 105

#endif
