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
// General settings
#define IDC_ADAPTER_LIST 1015
#define IDC_LOG_FILE 1023
#define IDC_BROWSE_LOG_FILE 1025
#define IDC_LOGGING 1024
// Window settings
#define IDC_AUTO_HIDE 1001
#define IDC_RUN_AWAY 1002
#define IDC_STAY_ON_TOP 1003
#define IDC_GO_FLAT 1019
#define IDC_TRANSPARENCY 1018
#define IDC_OPACITY 1017
#define IDC_SHADOW 1020
#define IDC_FLAT_BORDER_COLOUR 1027
#define IDC_CLICK_THRU 1062
// Graph settings
#define IDC_BACKGROUND_COLOUR 1269
#define IDC_GRID_COLOUR 1270
#define IDC_UP_COLOUR 1271
#define IDC_DOWN_COLOUR 1272
#define IDC_GRID_COLOUR2 1273
#define IDC_GRAPH_AUTO 1013
#define IDC_GRAPH_MANUAL 1014
#define IDC_GRAPH_SCALE 1016
#define IDC_GRID_MODE 1021
#define IDC_DENSE_LINES 1022
#define IDC_GRAPH_BALANCE 1039
#define IDC_GRAPH_DOWN_LABEL 1042
#define IDC_GRAPH_UP_LABEL 1043
#define IDC_SHOW_GRID 1011
// Tray Icon settings
#define IDC_TRAY_FRAME_COLOUR 1033
#define IDC_TRAY_UP_COLOUR 1034
#define IDC_TRAY_DOWN_COLOUR 1035
#define IDC_TRAY_AUTO 1032
#define IDC_TRAY_MANUAL 1031
#define IDC_TRAY_SCALE 1030
#define IDC_TRAY_MODE 1028
#define IDC_TRAY_BALANCE 1036
#define IDC_TRAY_DOWN_LABEL 1044
#define IDC_TRAY_UP_LABEL 1045

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
// the usage window's chart, a control of the program's own
inline constexpr const char* UsageChartClass = "TarveloUsageChart";
// the program's icon
inline constexpr const char* MainIconName = "MAINICON";
// 32 x 16: the two 16 x 16 idle tray pictures, magenta transparent
inline constexpr const char* TrayImagesName = "STATSFORM_IMAGELIST";
#endif

// the data plan's options page and the usage window
#define IDD_PAGE_PLAN 108
#define IDD_USAGE 120
#define IDC_PLAN_LIMIT 1101
#define IDC_PLAN_COUNTS 1102
#define IDC_PLAN_START_DAY 1103
#define IDC_PLAN_ALERT 1104
#define IDC_USAGE_PREV 1201
#define IDC_USAGE_TITLE 1202
#define IDC_USAGE_NEXT 1203
#define IDC_USAGE_SCALE_LABEL 1204
#define IDC_USAGE_SCALE 1205
#define IDC_USAGE_ADAPTER_LABEL 1206
#define IDC_USAGE_ADAPTER 1207
#define IDC_USAGE_SUMMARY 1208
#define IDC_USAGE_PLAN 1209
#define IDC_USAGE_PLAN_BAR 1210
#define IDC_USAGE_CHART 1211
#define IDC_USAGE_ROWS 1212
#define IDC_USAGE_EXPORT 1213
