#include "dialogs/LicenceText.h"

#include <string_view>

#include "base/Maker.h"

namespace {

constexpr std::string_view Placeholder = "<%APPTITLE%>";

// CR LF, as the multi-line edit wants. The program's title ends in a blank of its
// own ("Tarvelo "), so no blank follows the placeholder.
constexpr const char* Notice =
    "<%APPTITLE%>is freeware. You may use it free of charge, at home and at work, "
    "on as many computers as you like.\r\n"
    "\r\n"
    "You may copy <%APPTITLE%>and give it to others, as long as it stays unchanged, "
    "comes with this notice and is given away free of charge.\r\n"
    "\r\n"
    "You may not sell or rent <%APPTITLE%>or make it part of a product that is sold "
    "without the written permission of the maker.\r\n"
    "\r\n"
    "<%APPTITLE%>is provided \"as is\", without warranty of any kind, express or implied. "
    "The maker is not liable for any damage or loss of data that comes from its use "
    "or from not being able to use it. You use it at your own risk.\r\n";

}  // namespace

std::string LicenceText(const std::string& title) {
  std::string text = Notice;
  // Searching on after each inserted title: a title holding the placeholder itself
  // cannot make the replacing run forever.
  for (size_t at = text.find(Placeholder); at != std::string::npos; at = text.find(Placeholder, at + title.size()))
    text.replace(at, Placeholder.size(), title);
  return text;
}

std::string AboutMailTarget(const std::string& title, const std::string& version) {
  return std::string("mailto:") + MakerEmail + "?subject=\"About " + title + " v. " + version + "\"";
}
