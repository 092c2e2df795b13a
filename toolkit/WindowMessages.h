// Every private window message of the program, numbered in one place so that none
// collide: the toolkit's, the colour picker's and the main window's.
#pragma once
#include "toolkit/WinApi.h"

// A control's WM_COMMAND, sent back to the control that caused it.
inline constexpr UINT WM_TK_COMMAND_REFLECT = 0xB005;
// Mouse events over a notification icon (wParam the icon's id, lParam's low word the mouse message).
inline constexpr UINT WM_TK_NOTIFYICON = 0xB008;
// A multimedia timer's tick, handed from its thread to the loop's (lParam the timer).
inline constexpr UINT WM_TK_MEDIATIMER = 0xB00B;
// Added to WM_CTLCOLOR* when the colour query is sent back to the control.
inline constexpr UINT WM_TK_CTLCOLOR_REFLECT = 0xBC00;

// The "ColourPicker" control: show or read its colour and its custom colour.
inline constexpr UINT CPM_SETCOLOUR = 0x1000;
inline constexpr UINT CPM_GETCOLOUR = 0x1001;
inline constexpr UINT CPM_SETCUSTOMCOLOUR = 0x1002;
inline constexpr UINT CPM_GETCUSTOMCOLOUR = 0x1003;

// Posted once at start-up: the main window gives the focus away and starts unfocused.
inline constexpr UINT WM_STATS_DEFOCUS = WM_USER + 2020;

// Sent by a second start to the running program's graph window: show the graph and come
// to the front. Answered with StatsShowGraphReply while the program runs on; a program
// that is ending leaves it unanswered, so the second start takes over.
inline constexpr UINT WM_STATS_SHOWGRAPH = WM_USER + 2021;
inline constexpr LRESULT StatsShowGraphReply = 0x54764C6F;
