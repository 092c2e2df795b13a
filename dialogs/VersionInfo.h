// A file's version from its version resource.
#pragma once
#include <string>

// major.minor.release.build of the file's fixed version information; the empty text
// when the file is missing, is a directory or has no readable version. An empty name
// means the program's own file.
std::string FileVersionText(const std::string& fileName = {});
