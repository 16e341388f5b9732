// ui2rc: makes the resource script of Korvalo's dialogs for Windows from the
// Qt Designer forms and the string table, so that neither is kept twice. It
// runs at build time, on the build machine.
//
// usage: ui2rc OUTPUT.rc IDS_HEADER FORM.ui...

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/string_table.h"
#include "tools/ui2rc/form.h"
#include "tools/ui2rc/form_english.h"
#include "tools/ui2rc/rc_script.h"
#include "tools/ui2rc/xml.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error(path + ": cannot be read");
  }
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The string table in `language` as Windows loads it: texts 8 and 9 are path
// parts and take its separator.
std::vector<std::pair<int, std::string>> WindowsTexts(Language language) {
  std::vector<std::pair<int, std::string>> texts;
  for (const CatalogText& entry : StringTableEntries()) {
    const int id = entry.Id;
    std::string windowsText(language == Language::English ? entry.English : entry.Swedish);
    if (id == kTextTemplatesFolder || id == kTextHelpFile) {
      for (char& c : windowsText) {
        c = c == '/' ? '\\' : c;
      }
    }
    texts.emplace_back(id, std::move(windowsText));
  }
  return texts;
}

std::string Script(const std::string& idsHeader, const std::vector<std::string>& forms) {
  std::string script =
      "// Korvalo's dialogs and string table for Windows, made by ui2rc from the\n"
      "// forms in resources/ and resources/string_table.cpp: change those, not this.\n"
      "#pragma code_page(65001)\n"
      "#include <windows.h>\n"
      "#include \"" +
      idsHeader + "\"\n";
  // Each dialog and the table in Swedish and in English; the program picks
  // one by the language of its texts.
  std::string swedish = "\nLANGUAGE LANG_SWEDISH, SUBLANG_SWEDISH\n";
  std::string english = "\nLANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n";
  for (const std::string& path : forms) {
    try {
      const XmlElement ui = ParseXml(ReadFile(path));
      const Form form = ReadForm(ui);
      swedish += "\n" + DialogScript(form);
      english += "\n" + DialogScript(InEnglish(form, ui));
    } catch (const std::exception& error) {
      throw std::runtime_error(path + ": " + error.what());
    }
  }
  return script + swedish + "\n" + StringTableScript(WindowsTexts(Language::Swedish)) + english +
         "\n" + StringTableScript(WindowsTexts(Language::English));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: ui2rc OUTPUT.rc IDS_HEADER FORM.ui...\n", stderr);
    return 2;
  }
  try {
    const std::string script = Script(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    std::ofstream out(argv[1], std::ios::binary);
    if (!(out << script) || !out.flush()) {
      throw std::runtime_error(std::string(argv[1]) + ": cannot be written");
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "ui2rc: %s\n", error.what());
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
