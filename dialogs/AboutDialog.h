// The about box: the title, the file version, the licence notice and the maker's links.
#pragma once
#include "toolkit/WinApi.h"

#include <string>

// Modal, with the given title.
void ShowAboutDialog(HWND owner, const std::string& title);
