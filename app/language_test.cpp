#include "app/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/ui_language.h"
#include "resources/string_table.h"
#include "tests/test_support.h"

namespace {

std::size_t Placeholders(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; (at = text.find("%s", at)) != std::string_view::npos; at += 2) {
    ++count;
  }
  return count;
}

// A text missing in one language, or one that takes other arguments there,
// fails here rather than in front of a user.
TEST(Catalog, EveryTextInBothLanguagesWithTheSamePlaceholders) {
  int last = 0;
  for (const CatalogText& text : StringTableEntries()) {
    EXPECT_GT(text.Id, last) << "ids in order, each once";
    last = text.Id;
    EXPECT_FALSE(text.Swedish.empty() || text.English.empty()) << text.Id;
    EXPECT_EQ(Placeholders(text.Swedish), Placeholders(text.English)) << text.Swedish;
    EXPECT_EQ(std::count(text.Swedish.begin(), text.Swedish.end(), '&'),
              std::count(text.English.begin(), text.English.end(), '&'))
        << "an Alt key in both or neither: " << text.Swedish;
  }
}

// Swedish for Swedish and where no language is set, as scripts run; English
// for every other language, an unknown or broken one included.
TEST(ChooseLanguage, FromTheVariablesAsQtReadsThem) {
  const struct {
    const char* List;  // LANGUAGE
    const char* All;       // LC_ALL
    const char* Lang;      // LANG
    Language Chosen;
  } cases[] = {
      {nullptr, nullptr, nullptr, Language::Swedish},
      {nullptr, nullptr, "C", Language::Swedish},
      {nullptr, "POSIX", "en_US.UTF-8", Language::Swedish},
      {nullptr, nullptr, "C.UTF-8", Language::Swedish},
      {nullptr, nullptr, "sv_SE.UTF-8", Language::Swedish},
      {nullptr, nullptr, "en_US.UTF-8", Language::English},
      {nullptr, nullptr, "de_DE@euro", Language::English},
      {nullptr, nullptr, "xx", Language::English},
      {nullptr, "sv_FI", "en_US.UTF-8", Language::Swedish},
      {":", nullptr, "en_GB", Language::English},
      {"sv:en", nullptr, "en_US.UTF-8", Language::Swedish},
      {"pl:sv", nullptr, "sv_SE.UTF-8", Language::English},
  };
  for (const auto& c : cases) {
    const ScopedEnv language("LANGUAGE",
                             c.List ? std::optional<std::string>(c.List) : std::nullopt);
    const ScopedEnv all("LC_ALL", c.All ? std::optional<std::string>(c.All) : std::nullopt);
    const ScopedEnv messages("LC_MESSAGES", std::nullopt);
    const ScopedEnv lang("LANG", c.Lang ? std::optional<std::string>(c.Lang) : std::nullopt);
    EXPECT_EQ(c.Chosen, ChooseLanguage(PreferredUiLanguages()))
        << (c.List ? c.List : "-") << " " << (c.All ? c.All : "-") << " "
        << (c.Lang ? c.Lang : "-");
  }
}

}  // namespace
