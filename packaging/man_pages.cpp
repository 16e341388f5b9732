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

// What differs between the English and the Swedish pages.
struct PageWords {
  const char* Section;  // the manual's name of section 1
  const char* Name;
  const char* Synopsis;
  const char* Description;
  const char* Options;
  const char* ExitStatus;
  const char* Files;
  const char* Environment;
  const char* SeeAlso;
  const char* Default;  // "default: ..."
  const char* FilesAndEnvironment;
  const char* AlbumFiles;
};

const PageWords kEnglish = {
    "User Commands",
    "NAME",
    "SYNOPSIS",
    "DESCRIPTION",
    "OPTIONS",
    "\"EXIT STATUS\"",
    "FILES",
    "ENVIRONMENT",
    "\"SEE ALSO\"",
    "default: ",
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
    "The help page in Swedish; \\fIkorvalo.en.html\\fR beside it is the English one.\n"
    ".TP\n"
    ".I $XDG_CONFIG_HOME/Tamsell/Korvalo.conf\n"
    "The folder and the template \\fBkorvalo\\fR chose last (\\fI~/.config\\fR when\n"
    "\\fBXDG_CONFIG_HOME\\fR is unset). \\fBkorvalo\\-batch\\fR never reads or writes it.\n"
    "@ENVIRONMENT@"
    ".TP\n"
    ".B PATH\n"
    "Where the sound recorder \\fBsndrec32.exe\\fR is looked for. The program folder is\n"
    "searched last, so a recorder of the user's choice earlier on \\fBPATH\\fR wins.\n"
    ".TP\n"
    ".B BROWSER\n"
    "The browser that shows the finished album; without it, \\fBxdg\\-open\\fR(1).\n"
    ".TP\n"
    ".BR LANGUAGE \", \" LC_ALL \", \" LC_MESSAGES \", \" LANG\n"
    "The language of the windows and messages: Swedish for Swedish and where no\n"
    "language is set (the C locale), English for every other language.\n",
    "The album is written into the picture folders themselves: \\fIindex.html\\fR, a page\n"
    "\\fINAME\\fR.html and a voice comment \\fINAME\\fR.wav per picture (JPEG and GIF),\n"
    "copies of the support images __goback.gif and index.jpg, and where the template asks\n"
    "for them small copies of the pictures in \\fI__kopior/\\fR. Every subfolder becomes a\n"
    "sub\\-album linked from its parent's index page.\n"};

const PageWords kSwedish = {
    "Användarkommandon",
    "NAMN",
    "SYNOPSIS",
    "BESKRIVNING",
    "FLAGGOR",
    "SLUTSTATUS",
    "FILER",
    "MILJÖ",
    "\"SE ÄVEN\"",
    "standard: ",
    ".TP\n"
    ".I lib/korvalo/\n"
    "Programmappen under installationsprefixet (\\fI/usr/lib/korvalo/\\fR i Debianpaketet).\n"
    "Där finns \\fBkorvalo\\fR, \\fBkorvalo\\-batch\\fR, inspelningsprogrammet\n"
    "\\fBsndrec32.exe\\fR och de två datamapparna nedan; länkarna i \\fIbin/\\fR pekar hit.\n"
    ".TP\n"
    ".I lib/korvalo/mallar/\n"
    "Mallarna: ett par \\fINAMN\\fR_index.html och \\fINAMN\\fR_picture.html för varje mall,\n"
    "och stödfilerna __goback.gif, index.jpg och emptysound.wav.\n"
    ".TP\n"
    ".I lib/korvalo/dok/korvalo.html\n"
    "Hjälpsidan på svenska; \\fIkorvalo.en.html\\fR bredvid den är den engelska.\n"
    ".TP\n"
    ".I $XDG_CONFIG_HOME/Tamsell/Korvalo.conf\n"
    "Mappen och mallen som \\fBkorvalo\\fR valde senast (\\fI~/.config\\fR när\n"
    "\\fBXDG_CONFIG_HOME\\fR inte är satt). \\fBkorvalo\\-batch\\fR läser och skriver den aldrig.\n"
    "@ENVIRONMENT@"
    ".TP\n"
    ".B PATH\n"
    "Där inspelningsprogrammet \\fBsndrec32.exe\\fR söks. Programmappen söks sist, så ett\n"
    "inspelningsprogram som användaren valt tidigare i \\fBPATH\\fR går före.\n"
    ".TP\n"
    ".B BROWSER\n"
    "Webbläsaren som visar det färdiga albumet; utan den \\fBxdg\\-open\\fR(1).\n"
    ".TP\n"
    ".BR LANGUAGE \", \" LC_ALL \", \" LC_MESSAGES \", \" LANG\n"
    "Språket i fönster och meddelanden: svenska för svenska och där inget språk är valt\n"
    "(C\\-lokalen), engelska för alla andra språk.\n",
    "Albumet skrivs direkt i bildmapparna: \\fIindex.html\\fR, en sida \\fINAMN\\fR.html och\n"
    "en röstkommentar \\fINAMN\\fR.wav för varje bild (JPEG och GIF), kopior av stödbilderna\n"
    "__goback.gif och index.jpg, och där mallen vill ha dem små kopior av bilderna i\n"
    "\\fI__kopior/\\fR. Varje undermapp blir ett delalbum med en länk från innehållssidan\n"
    "ovanför.\n"};

std::string OptionsSection(const PageWords& words, bool swedish) {
  std::string text = std::string(".SH ") + words.Options + "\n";
  for (const CommandOption& option : BatchOptionList()) {
    text += ".TP\n";
    if (*option.ShortName != '\0') {
      text += "\\fB" + Roff(Dashed(option.ShortName)) + "\\fR, ";
    }
    text += "\\fB" + Roff(Dashed(option.Name)) + "\\fR";
    if (*option.ValueName != '\0') {
      text += " \\fI" + Roff(option.ValueName) + "\\fR";
    }
    text += "\n" + Sentence(swedish ? option.SwedishDescription : option.Description);
    const char* fallback = swedish ? option.SwedishDefault : option.Default;
    if (*fallback != '\0') {
      text += Sentence(std::string(words.Default) + fallback);
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

std::string Render(const Page& page, const PageWords& words) {
  std::string files = words.FilesAndEnvironment;
  files.replace(files.find("@ENVIRONMENT@"), 13, std::string(".SH ") + words.Environment + "\n");
  return ".TH " + Roff(page.Name) + " 1 \"\" \"Korvalo " KORVALO_FULL_VERSION "\" \"" +
         words.Section + "\"\n.SH " + words.Name + "\n" + Roff(page.Name) + " \\- " +
         Roff(page.Summary) + "\n.SH " + words.Synopsis + "\n" + page.Synopsis + ".SH " +
         words.Description + "\n" + page.Description + page.Middle + ".SH " + words.Files + "\n" +
         files + ".SH " + words.SeeAlso + "\n" + page.SeeAlso + "\n";
}

Page DesktopPage() {
  return {"korvalo",
          "make a picture album with a spoken comment per picture",
          ".B korvalo\n",
          "\\fBkorvalo\\fR turns a folder of pictures into a browsable HTML album with a\n"
          "spoken comment for every picture. Its windows are in Swedish, or in English\n"
          "where the user's language is another (see \\fBENVIRONMENT\\fR).\n"
          ".PP\n"
          "A settings dialog asks for the template, the number of thumbnails per row, when\n"
          "to record voice comments and whether to include subfolders and open the album\n"
          "in the browser. A folder picker then asks for the folder of pictures, and a\n"
          "progress window shows each picture as its page is written. For every picture\n"
          "the sound recorder \\fBsndrec32.exe\\fR can record a comment.\n"
          ".PP\n" +
              std::string(kEnglish.AlbumFiles) +
              ".PP\n"
              "\\fBCancel\\fR (\\fBAvbryt\\fR) in the progress window stops the run before\n"
              "the next picture: pages already written stay, no browser opens and the folder\n"
              "is not remembered.\n"
              ".PP\n"
              "The program takes no arguments. It ends with 0 after a finished album or a\n"
              "cancelled dialog, and with 1 after a fatal error, a failed or cancelled\n"
              "recording, or a cancel before the album was finished.\n",
          "",
          "\\fBkorvalo\\-batch\\fR(1)"};
}

Page SwedishDesktopPage() {
  return {"korvalo",
          "gör ett bildalbum med en talad kommentar till varje bild",
          ".B korvalo\n",
          "\\fBkorvalo\\fR gör ett HTML\\-album av en mapp med bilder, med en talad kommentar\n"
          "till varje bild. Fönstren är på svenska, eller på engelska när användarens språk\n"
          "är ett annat (se \\fBMILJÖ\\fR).\n"
          ".PP\n"
          "En inställningsdialog frågar efter mallen, antalet miniatyrbilder per rad, när\n"
          "röstkommentarer ska spelas in och om undermappar ska tas med och albumet öppnas\n"
          "i webbläsaren. Sedan frågar en mappväljare efter mappen med bilder, och ett\n"
          "förloppsfönster visar varje bild medan dess sida skrivs. Till varje bild kan\n"
          "inspelningsprogrammet \\fBsndrec32.exe\\fR spela in en kommentar.\n"
          ".PP\n" +
              std::string(kSwedish.AlbumFiles) +
              ".PP\n"
              "\\fBAvbryt\\fR i förloppsfönstret stoppar körningen före nästa bild: sidor som\n"
              "redan är skrivna ligger kvar, ingen webbläsare öppnas och mappen sparas inte.\n"
              ".PP\n"
              "Programmet tar inga argument. Det slutar med 0 efter ett färdigt album eller en\n"
              "avbruten dialog, och med 1 efter ett allvarligt fel, en misslyckad eller avbruten\n"
              "inspelning eller ett avbrott innan albumet var klart.\n",
          "",
          "\\fBkorvalo\\-batch\\fR(1)"};
}

Page BatchPage(bool swedish) {
  const std::string synopsis = swedish ? kBatchSwedishSynopsis : kBatchSynopsis;
  const std::size_t space = synopsis.find(' ');
  const PageWords& words = swedish ? kSwedish : kEnglish;
  return {
      "korvalo-batch",
      swedish ? "gör ett bildalbum med talade kommentarer, utan fönster"
              : "make a picture album with spoken comments, without windows",
      ".B " + Roff(synopsis.substr(0, space)) + "\n" +
          (swedish ? "[\\fIflaggor\\fR] \\fIMAPP\\fR\n" : "[\\fIoptions\\fR] \\fIFOLDER\\fR\n"),
      Roff(swedish ? kBatchSwedishPurpose : kBatchPurpose) + "\n" +
          (swedish ? "Det gör det som \\fBkorvalo\\fR(1) gör efter sin inställningsdialog,\n"
                     "med valen från kommandoraden, och läser och skriver aldrig de sparade\n"
                     "inställningarna. Det skriver varje bild och mapp på standard ut och\n"
                     "fel på standard fel, på användarens språk eller det \\fB\\-\\-language\\fR\n"
                     "väljer. Ctrl+C eller SIGTERM avbryter körningen: den slutar före nästa\n"
                     "bild och avslutar en pågående inspelning, sidor som redan är skrivna\n"
                     "ligger kvar och ingen webbläsare öppnas.\n"
                   : "It does what \\fBkorvalo\\fR(1) does after its settings dialog, with\n"
                     "the choices taken from the command line, and never reads or writes the\n"
                     "remembered preferences. It logs each entry on standard output and\n"
                     "reports errors on standard error, in the user's language or the one\n"
                     "\\fB\\-\\-language\\fR names. Ctrl+C or SIGTERM cancels the run: it stops\n"
                     "before the next picture and ends a running recording, pages already\n"
                     "written stay, and no browser opens.\n") +
          ".PP\n" + words.AlbumFiles,
      OptionsSection(words, swedish) + ".SH " + words.ExitStatus + "\n" +
          Roff(swedish ? kBatchSwedishExitStatus : kBatchExitStatus) + "\n",
      "\\fBkorvalo\\fR(1)"};
}

bool Write(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
  if (!file.flush()) {
    std::fprintf(stderr, "korvalo-man-pages: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: korvalo-man-pages OUTPUT-FOLDER\n", stderr);
    return 2;
  }
  // English in the folder given, Swedish in sv/ inside it, as man(1) looks for them.
  const std::string folder = argv[1];
  const bool written = Write(folder + "/korvalo.1", Render(DesktopPage(), kEnglish)) &&
                       Write(folder + "/korvalo-batch.1", Render(BatchPage(false), kEnglish)) &&
                       Write(folder + "/sv/korvalo.1", Render(SwedishDesktopPage(), kSwedish)) &&
                       Write(folder + "/sv/korvalo-batch.1", Render(BatchPage(true), kSwedish));
  return written ? 0 : 1;
}
