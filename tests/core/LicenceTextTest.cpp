#include "dialogs/LicenceText.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Maker.h"

namespace {

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

TEST(LicenceText, EveryPlaceholderTakesTheTitle) {
  const std::string placeholder = "<%APPTITLE%>";
  const struct { std::string title; size_t placeholdersLeft; } cases[] = {
      {"Tarvelo ", 0}, {"", 0}, {placeholder, 4},  // a title holding the placeholder is put in once each
  };
  for (const auto& c : cases) {
    const std::string text = LicenceText(c.title);
    EXPECT_EQ(Count(text, placeholder), c.placeholdersLeft) << "title '" << c.title << "'";
    if (!c.title.empty()) {
      EXPECT_EQ(Count(text, c.title), 4u) << "title '" << c.title << "'";
    }
  }
  const std::string text = LicenceText("Tarvelo ");
  EXPECT_EQ(text.rfind("Tarvelo is freeware.", 0), 0u) << text;
  EXPECT_EQ(Count(text, "\n"), Count(text, "\r\n")) << "the edit box breaks lines at CR LF only";
}

TEST(LicenceText, MailTargetCarriesTitleAndVersionInItsSubject) {
  EXPECT_EQ(AboutMailTarget("Tarvelo ", "1.2.3.4"),
            std::string("mailto:") + MakerEmail + "?subject=\"About Tarvelo  v. 1.2.3.4\"");
  EXPECT_EQ(AboutMailTarget("Tarvelo ", ""), std::string("mailto:") + MakerEmail + "?subject=\"About Tarvelo  v. \"");
}

}  // namespace
