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

// The string table as Windows loads it: texts 8 and 9 are path parts and take
// its separator.
std::vector<std::pair<int, std::string>> WindowsTexts() {
  std::vector<std::pair<int, std::string>> texts;
  for (const auto& [id, text] : StringTableEntries()) {
    std::string windowsText(text);
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
      idsHeader +
      "\"\n\n"
      "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\n";
  for (const std::string& path : forms) {
    try {
      script += "\n" + DialogScript(ReadForm(ParseXml(ReadFile(path))));
    } catch (const std::exception& error) {
      throw std::runtime_error(path + ": " + error.what());
    }
  }
  return script + "\n" + StringTableScript(WindowsTexts());
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
