// Writes the manual pages korvalo.1 and korvalo-batch.1 into the folder given
// as the only argument. Both pages share one skeleton; korvalo-batch's options
// come from the very list its --help shows, so the two never disagree.

#include <cctype>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "tools/korvalo-batch/batch_options.h"

namespace {

// Text as roff shows it literally: backslashes and dashes escaped, and a line
// that would start a request protected.
std::string Roff(std::string_view text) {
  std::string out;
  bool lineStart = true;
  for (const char c : text) {
    if (lineStart && (c == '.' || c == '\'')) {
      out += "\\&";
    }
    out += c == '\\' ? std::string("\\e") : c == '-' ? std::string("\\-") : std::string(1, c);
    lineStart = c == '\n';
  }
  return out;
}

std::string Dashed(const std::string& name) {
  return (name.size() == 1 ? "-" : "--") + name;
}

// The option list's phrases start in lower case, as a help column does; the page has sentences.
std::string Sentence(std::string text) {
  text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return Roff(text) + ".\n";
}

std::string OptionsSection() {
  std::string text = ".SH OPTIONS\n";
  for (const CommandOption& option : BatchOptionList()) {
    text += ".TP\n";
    if (*option.ShortName != '\0') {
      text += "\\fB" + Roff(Dashed(option.ShortName)) + "\\fR, ";
    }
    text += "\\fB" + Roff(Dashed(option.Name)) + "\\fR";
    if (*option.ValueName != '\0') {
      text += " \\fI" + Roff(option.ValueName) + "\\fR";
    }
    text += "\n" + Sentence(option.Description);
    if (*option.Default != '\0') {
      text += Sentence(std::string("default: ") + option.Default);
    }
  }
  return text;
}

struct Page {
  std::string Name;
  std::string Summary;      // after "NAME \-"
  std::string Synopsis;     // roff
  std::string Description;  // roff, paragraphs separated by .PP
  std::string Middle;       // OPTIONS and EXIT STATUS, roff
  std::string SeeAlso;
};

const char* const kFilesAndEnvironment =
    ".SH FILES\n"
    ".TP\n"
    ".I lib/korvalo/\n"
    "The program folder under the installation prefix (\\fI/usr/lib/korvalo/\\fR from the\n"
    "Debian package). It holds \\fBkorvalo\\fR, \\fBkorvalo\\-batch\\fR, the sound recorder\n"
    "\\fBsndrec32.exe\\fR and the two data folders below; the links in \\fIbin/\\fR point here.\n"
    ".TP\n"
    ".I lib/korvalo/mallar/\n"
    "The templates: a pair \\fINAME\\fR_index.html and \\fINAME\\fR_picture.html per template,\n"
    "and the support files __goback.gif, index.jpg and emptysound.wav.\n"
    ".TP\n"
    ".I lib/korvalo/dok/korvalo.html\n"
    "The help page, in Swedish.\n"
    ".TP\n"
    ".I $XDG_CONFIG_HOME/Tamsell/Korvalo.conf\n"
    "The folder and the template \\fBkorvalo\\fR chose last (\\fI~/.config\\fR when\n"
    "\\fBXDG_CONFIG_HOME\\fR is unset). \\fBkorvalo\\-batch\\fR never reads or writes it.\n"
    ".SH ENVIRONMENT\n"
    ".TP\n"
    ".B PATH\n"
    "Where the sound recorder \\fBsndrec32.exe\\fR is looked for. The program folder is\n"
    "searched last, so a recorder of the user's choice earlier on \\fBPATH\\fR wins.\n"
    ".TP\n"
    ".B BROWSER\n"
    "The browser that shows the finished album; without it, \\fBxdg\\-open\\fR(1).\n";

const char* const kAlbumFiles =
    "The album is written into the picture folders themselves: \\fIindex.html\\fR, a page\n"
    "\\fINAME\\fR.html and a voice comment \\fINAME\\fR.wav per picture (JPEG and GIF), and\n"
    "copies of the support images __goback.gif and index.jpg. Every subfolder becomes a\n"
    "sub\\-album linked from its parent's index page.\n";

std::string Render(const Page& page) {
  return ".TH " + Roff(page.Name) +
         " 1 \"\" \"Korvalo " KORVALO_FULL_VERSION
         "\" \"User Commands\"\n"
         ".SH NAME\n" +
         Roff(page.Name) + " \\- " + Roff(page.Summary) + "\n.SH SYNOPSIS\n" + page.Synopsis +
         ".SH DESCRIPTION\n" + page.Description + page.Middle + kFilesAndEnvironment +
         ".SH SEE ALSO\n" + page.SeeAlso + "\n";
}

Page DesktopPage() {
  return {"korvalo",
          "make a picture album with a spoken comment per picture",
          ".B korvalo\n",
          "\\fBkorvalo\\fR turns a folder of pictures into a browsable HTML album with a\n"
          "spoken comment for every picture. Its windows are in Swedish.\n"
          ".PP\n"
          "A settings dialog asks for the template, the number of thumbnails per row, when\n"
          "to record voice comments and whether to include subfolders and open the album\n"
          "in the browser. A folder picker then asks for the folder of pictures, and a\n"
          "progress window shows each picture as its page is written. For every picture\n"
          "the sound recorder \\fBsndrec32.exe\\fR can record a comment.\n"
          ".PP\n" +
              std::string(kAlbumFiles) +
              ".PP\n"
              "\\fBAvbryt\\fR in the progress window stops the run before the next\n"
              "picture: pages already written stay, no browser opens and the folder is not\n"
              "remembered.\n"
              ".PP\n"
              "The program takes no arguments. It ends with 0 after a finished album or a\n"
              "cancelled dialog, and with 1 after a fatal error, a failed or cancelled\n"
              "recording, or \\fBAvbryt\\fR before the album was finished.\n",
          "",
          "\\fBkorvalo\\-batch\\fR(1)"};
}

Page BatchPage() {
  const std::string synopsis = kBatchSynopsis;
  const std::size_t space = synopsis.find(' ');
  return {"korvalo-batch",
          "make a picture album with spoken comments, without windows",
          ".B " + Roff(synopsis.substr(0, space)) + "\n" + "[\\fIoptions\\fR] \\fIFOLDER\\fR\n",
          Roff(kBatchPurpose) +
              "\n"
              "It does what \\fBkorvalo\\fR(1) does after its settings dialog, with the\n"
              "choices taken from the command line, and never reads or writes the\n"
              "remembered preferences. It logs each entry on standard output and reports\n"
              "errors on standard error. Ctrl+C or SIGTERM cancels the run: it stops\n"
              "before the next picture and ends a running recording, pages already written\n"
              "stay, and no browser opens.\n"
              ".PP\n" +
              kAlbumFiles,
          OptionsSection() + ".SH \"EXIT STATUS\"\n" + Roff(kBatchExitStatus) + "\n",
          "\\fBkorvalo\\fR(1)"};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: korvalo-man-pages OUTPUT-FOLDER\n", stderr);
    return 2;
  }
  for (const Page& page : {DesktopPage(), BatchPage()}) {
    const std::string path = std::string(argv[1]) + "/" + page.Name + ".1";
    std::ofstream file(path, std::ios::binary);
    file << Render(page);
    if (!file.flush()) {
      std::fprintf(stderr, "korvalo-man-pages: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
