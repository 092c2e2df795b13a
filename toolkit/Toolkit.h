// The window toolkit the program stands on: reference-counted objects, forms and
// their message dispatch, drawing tools and bitmaps, menus, timers, the
// notification icon and image strips.
#pragma once

#include "toolkit/BaseObject.h"
#include "toolkit/Handles.h"
#include "toolkit/PtrList.h"
#include "toolkit/DateTime.h"
#include "toolkit/Platform.h"
#include "toolkit/WindowObject.h"
#include "toolkit/Application.h"
#include "toolkit/MemoryDC.h"
#include "toolkit/Colour.h"
#include "toolkit/DrawTool.h"
#include "toolkit/DrawCanvas.h"
#include "toolkit/DrawBitmap.h"
#include "toolkit/MediaTimer.h"
#include "toolkit/WindowTimer.h"
#include "toolkit/MenuObject.h"
#include "toolkit/NotifyIcon.h"
#include "toolkit/ImageStrip.h"
