// The options property sheet: five pages that edit every setting in the store.
#pragma once
#include "toolkit/WinApi.h"

#include <string>
#include <vector>

// Modal; OK writes each page's values to the store, Cancel writes nothing. adapters:
// the descriptions the adapter list offers, in the order to show them.
void ShowOptionsDialog(HWND owner, const std::string& title, const std::vector<std::string>& adapters);
