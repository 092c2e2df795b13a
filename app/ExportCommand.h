// The export from the command line, before anything else of the program starts: no
// window, no single-instance claim, the store opened read-only.
#pragma once

// True when the command line asks for the export, which has then run: exitCode is 0
// when the file was written, 1 when not (the reason on the standard error).
bool RunExportCommand(int& exitCode);
