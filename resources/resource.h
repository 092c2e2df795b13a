// Every resource of the program: numbered ones here for the resource scripts and the
// code alike, named ones as texts for the code.
#pragma once

// the pointing hand over links and colour pickers, hot spot (7, 1)
#define IDR_HAND_CURSOR 1

// dialog templates: the options sheet's pages in page order, the counters dialog and
// the about box
#define IDD_PAGE_GENERAL 105
#define IDD_PAGE_WINDOW 103
#define IDD_PAGE_GRAPH 104
#define IDD_PAGE_TRAY 107
#define IDD_COUNTERS 202
#define IDD_ABOUT 11111

// controls of the options sheet's pages

// controls of the counters dialog and the about box

#ifndef RC_INVOKED
// the program's icon
inline constexpr const char* MainIconName = "MAINICON";
// 32 x 16: the two 16 x 16 idle tray pictures, magenta transparent
inline constexpr const char* TrayImagesName = "STATSFORM_IMAGELIST";
#endif
