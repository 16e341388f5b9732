#include "resources/string_table.h"

#include <array>
#include <utility>

namespace {

// Texts 8 and 9 are path parts and use this platform's separator.
constexpr std::array<std::pair<int, std::string_view>, 14> kTexts{{
    {kTextInvalidThumbnails, "Otillåtet värde för antal miniatyrer"},
    {kTextRecordingFor, "Spelar in ljud för: \"%s\" ..."},
    {kTextNoRecorder, "Windows inspelningsprogram kunde inte hittas"},
    {kTextCannotCreateIndex, "Misslyckades med att skapa innehållsfil: \"%s\""},
    {kTextNoPictures, "Hittade inga bilder i: \"%s\""},
    {kTextNoTemplates, "Hittade inga mallar i: \"%s\""},
    {kTextChooseFolder, "Välj en mapp med bilder"},
#ifdef _WIN32
    {kTextTemplatesFolder, "mallar\\"},
    {kTextHelpFile, "dok\\korvalo.html"},
#else
    {kTextTemplatesFolder, "mallar/"},
    {kTextHelpFile, "dok/korvalo.html"},
#endif
    {kTextLanguage, "swe"},
    {kTextUnusableIndexTemplate,
     "Indexmallen saknar en tabellrad \"<tr>\" med en cell \"</td>\": \"%s\""},
    {kTextChooseTemplate, "Välj en mall i listan"},
    {kTextFolderInUse, "Mappen används redan av en annan körning av Korvalo: \"%s\""},
    {kTextCannotReadFolder, "Mappen kunde inte läsas: \"%s\""},
}};

}  // namespace

std::string_view StringTableText(int id) {
  for (const auto& [textId, text] : kTexts) {
    if (textId == id) {
      return text;
    }
  }
  return {};
}

std::span<const std::pair<int, std::string_view>> StringTableEntries() {
  return kTexts;
}
