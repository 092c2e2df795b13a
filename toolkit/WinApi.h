// The one way into the Win32 headers: <winsock2.h> must come before <windows.h>,
// which would otherwise pull in the old <winsock.h> and clash with the interface
// table's headers.
#pragma once
#include <winsock2.h>
#include <windows.h>
