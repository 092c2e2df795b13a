// The about box's texts that do not need the system: the licence notice and the
// mail link's target.
#pragma once
#include <string>

// The freeware notice with every "<%APPTITLE%>" replaced by the title.
std::string LicenceText(const std::string& title);
// "mailto:" the maker, with the subject "About <title> v. <version>" in double quotes.
std::string AboutMailTarget(const std::string& title, const std::string& version);
