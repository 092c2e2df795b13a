// Small registry helpers over the ANSI entry points. Opening and creating hand back
// an owner; an empty owner is the invalid key.
#pragma once
#include "toolkit/WinApi.h"

#include <cstdint>
#include <string>

#include "toolkit/Handles.h"

tk::unique_hkey RegOpenKeyAccess(HKEY root, const std::string& path, REGSAM access);
tk::unique_hkey RegOpenKeyFull(HKEY root, const std::string& path);
// Creates missing intermediate keys too.
tk::unique_hkey RegCreateKeyWrite(HKEY root, const std::string& path);
// Full access when the key exists; otherwise created, closed and opened again.
tk::unique_hkey RegOpenOrCreateKey(HKEY root, const std::string& path);

// Missing, longer than 4 bytes or no key: def. Shorter values read zero-extended.
int32_t RegReadDWord(HKEY key, const std::string& name, int32_t def);
bool RegWriteDWord(HKEY key, const std::string& name, int32_t value);
// The stored bytes up to the first NUL; def when the value cannot be read.
std::string RegReadText(HKEY key, const std::string& name, const std::string& def);
// REG_SZ with its terminating NUL, so the empty text is one byte.
bool RegWriteText(HKEY key, const std::string& name, const std::string& text);
