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
#define IDC_COUNTER_RESET 1001
#define IDC_COUNTER_UPLOAD 1005
#define IDC_COUNTER_DOWNLOAD 1006
#define IDC_COUNTER_TOTAL 1007
#define IDC_COUNTER_UPLOAD_SPEED 1008
#define IDC_COUNTER_DOWNLOAD_SPEED 1009
#define IDC_COUNTER_TOTAL_SPEED 1010
#define IDC_COUNTER_ELAPSED 1011
#define IDC_ABOUT_LICENCE 1000
#define IDC_ABOUT_VERSION 1002
#define IDC_ABOUT_TITLE 1005
#define IDC_ABOUT_HOMEPAGE 1030
#define IDC_ABOUT_MAIL 1031

#ifndef RC_INVOKED
// the program's icon
inline constexpr const char* MainIconName = "MAINICON";
// 32 x 16: the two 16 x 16 idle tray pictures, magenta transparent
inline constexpr const char* TrayImagesName = "STATSFORM_IMAGELIST";
#endif
