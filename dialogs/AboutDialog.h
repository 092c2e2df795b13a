// The about box: the title, the file version, the licence notice and the maker's links.
#pragma once
#include "toolkit/WinApi.h"

#include <functional>
#include <string>

// Modal, with the given title; the links open with the shell.
void ShowAboutDialog(HWND owner, const std::string& title);
// The same, with the links' targets handed to openTarget instead.
void ShowAboutDialog(HWND owner, const std::string& title, const std::function<void(const std::string&)>& openTarget);
