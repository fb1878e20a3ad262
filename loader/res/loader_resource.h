/* Resource ids of the tray loader, ZntUsb.exe; included by loader.rc and by
   the program. Plain defines only: windres reads this file too. */
#ifndef ZENTRA_LOADER_RESOURCE_H
#define ZENTRA_LOADER_RESOURCE_H

/* Icons: the wheel, and the wheel while keyboard emulation is disabled. */
#define IDI_LOADER 234
#define IDI_LOADER_OFF 235

/* Tray menus, one per language, each found language neutral. */
#define IDR_MENU_ENGLISH 232
#define IDR_MENU_DUTCH 237
#define IDR_MENU_FRENCH 238
#define IDR_MENU_GERMAN 239
#define IDR_MENU_SPANISH 240
#define IDR_MENU_ITALIAN 241
#define IDR_MENU_PORTUGUESE 242

/* Tray menu items, the same in every language. */
#define IDM_CONTROL_PANEL 40003
#define IDM_EXIT 40004
#define IDM_SHOW_WINDOW 40005

/* Strings, in seven languages. No language defines id 24. */
#define IDS_TITLE 1
#define IDS_DISABLE_KBD_EMULATION 31
#define IDS_LAUNCH_ON_STARTUP 33
#define IDS_MANUAL_PRESET 34
#define IDS_START 35
#define IDS_STOP 36
#define IDS_NOTICE_LAUNCH 42
#define IDS_NOTICE_UPLOAD 43
#define IDS_NOTICE_SHUTDOWN 44
#define IDS_NOTICE_RESTORE 45

#endif
