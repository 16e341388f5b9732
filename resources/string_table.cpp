#include "resources/string_table.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <utility>

namespace {

// Written once, before any thread starts; read everywhere after.
std::atomic<Language> language{Language::Swedish};

// The catalog, in the order of the ids. A text with "%s" takes its
// arguments in the same order in both languages.
constexpr CatalogText kTexts[] = {
    {kTextInvalidThumbnails, "Otillåtet värde för antal miniatyrer",
     "Invalid number of thumbnails"},
    {kTextRecordingFor, "Spelar in ljud för: \"%s\" ...", "Recording sound for: \"%s\" ..."},
    {kTextNoRecorder, "Windows inspelningsprogram kunde inte hittas",
     "The sound recorder could not be found"},
    {kTextCannotCreateIndex, "Misslyckades med att skapa innehållsfil: \"%s\"",
     "Failed to create the contents file: \"%s\""},
    {kTextNoPictures, "Hittade inga bilder i: \"%s\"", "Found no pictures in: \"%s\""},
    {kTextNoTemplates, "Hittade inga mallar i: \"%s\"", "Found no templates in: \"%s\""},
    {kTextChooseFolder, "Välj en mapp med bilder", "Choose a folder of pictures"},
// Texts 8 and 9 are path parts and use this platform's separator.
#ifdef _WIN32
    {kTextTemplatesFolder, "mallar\\", "mallar\\"},
    {kTextHelpFile, "dok\\korvalo.html", "dok\\korvalo.en.html"},
#else
    {kTextTemplatesFolder, "mallar/", "mallar/"},
    {kTextHelpFile, "dok/korvalo.html", "dok/korvalo.en.html"},
#endif
    {kTextLanguage, "swe", "eng"},
    {kTextUnusableIndexTemplate,
     "Indexmallen saknar en tabellrad \"<tr>\" med en cell \"</td>\": \"%s\"",
     "The index template has no table row \"<tr>\" with a cell \"</td>\": \"%s\""},
    {kTextChooseTemplate, "Välj en mall i listan", "Choose a template in the list"},
    {kTextFolderInUse, "Mappen används redan av en annan körning av Korvalo: \"%s\"",
     "Another run of Korvalo is using the folder already: \"%s\""},
    {kTextCannotReadFolder, "Mappen kunde inte läsas: \"%s\"",
     "The folder could not be read: \"%s\""},

    {kTextSkipping, "Hoppar över \"%s\": %s", "Skipping \"%s\": %s"},
    {kTextPageWouldBeIndex, "sidan skulle skriva över indexsidan",
     "its page would overwrite the index page"},
    {kTextWindowsCannotUseName, "namnet kan inte användas i Windows",
     "Windows cannot use the name"},
    {kTextAlreadyInAlbum, "mappen ingår redan i albumet", "the folder is in the album already"},
    {kTextLinkLeadsOut, "länken pekar utanför albummappen",
     "the link leads out of the album's folder"},
    {kTextCopiesFolderNotOurs, "mappen är inte Korvalos, så bilderna visas som de är",
     "the folder is not Korvalo's, so the pictures are shown as they are"},
    {kTextNoCopies, "Inga mindre kopior av \"%s\" (%s): sidorna visar originalet",
     "No smaller copies of \"%s\" (%s): the pages show the original"},

    {kTextNoError, "inget fel", "no error"},
    {kTextNoSuchPath, "sökvägen finns inte", "no such path"},
    {kTextAccessDenied, "åtkomst nekad", "access denied"},
    {kTextDiskFull, "disken är full", "the disk is full"},
    {kTextQuotaExceeded, "diskkvoten är slut", "the disk quota is used up"},
    {kTextReadOnly, "skrivskyddad", "read-only"},
    {kTextPathTooLong, "sökvägen är för lång", "the path is too long"},
    {kTextNotAFolder, "inte en mapp", "not a folder"},
    {kTextFolderOfThatName, "en mapp har samma namn", "a folder has the same name"},
    {kTextInUseByAnotherRun, "används av en annan körning av Korvalo",
     "in use by another run of Korvalo"},
    {kTextHeldOpen, "används av ett annat program", "in use by another program"},
    {kTextDiskError, "läs- eller skrivfel på disken", "a read or write error on the disk"},
    {kTextUnknownError, "okänt fel", "unknown error"},

    {kTextPictureUnreadable, "bilden går inte att läsa", "the picture cannot be read"},
    {kTextPictureDamaged, "bilden är skadad", "the picture is damaged"},
    {kTextPictureCutShort, "bilden är avkortad", "the picture is cut short"},
    {kTextPictureUnsupported, "bildens slags JPEG stöds inte, till exempel CMYK eller 12 bitar",
     "its kind of JPEG is not supported, for example CMYK or 12 bits"},
    {kTextPictureTooLarge, "bilden är för stor", "the picture is too large"},
    {kTextPictureSizeDiffers, "bilden är inte så stor som den säger",
     "the picture is not the size it says"},
    {kTextCopiesUnwritable, "kopiorna gick inte att skriva", "the copies could not be written"},

    {kTextRunFinished, "Albumet är klart. Tryck på OK för att stänga fönstret.",
     "The album is done. Press OK to close the window."},
    {kTextPickerTitle, "Bläddra efter mapp", "Browse for Folder"},
    {kTextPickerTree, "Mapparna på datorn", "The folders of the computer"},
    {kTextCancelButton, "Av&bryt", "&Cancel"},
    {kTextNoDisplay,
     "korvalo: Korvalo behöver en grafisk skärm men hittar ingen (%s är inte satt).\n"
     "Utan skärm görs album med korvalo-batch, till exempel: korvalo-batch ~/Bilder/Resa\n",
     "korvalo: Korvalo needs a graphical display but finds none (%s is not set).\n"
     "Without a display, make albums with korvalo-batch, for example: "
     "korvalo-batch ~/Pictures/Trip\n"},
    {kTextSettingsNotRead, "%s: Inställningarna läses inte: %s är ingen vanlig fil",
     "%s: The settings are not read: %s is no regular file"},
    {kTextGoOnToThePage, "Fortsätt till sidan", "Go on to the page"},
    {kTextFolderColumn, "Mapp", "Folder"},

    {kTextRecorderTitle, "Spela in ljud – %s", "Record sound – %s"},
    {kTextRecorderCaption, "Spela in ljud", "Record sound"},
    {kTextRecorderFile, "Ljudfil: %s", "Sound file: %s"},
    {kTextRecorderPicture, "Bild: %s", "Picture: %s"},
    {kTextRecorderUsage,
     "Användning: sndrec32.exe LJUDFIL.wav\n"
     "Spelar in från mikrofonen till LJUDFIL.wav (hela sökvägen).\n"
     "Slutkod 0 när ljudet sparats, annars 2.\n",
     "Usage: sndrec32.exe SOUNDFILE.wav\n"
     "Records from the microphone into SOUNDFILE.wav (the whole path).\n"
     "Exit code 0 when the sound was saved, else 2.\n"},
    {kTextRecorderNoDisplay,
     "sndrec32.exe: Inspelningen behöver en grafisk skärm (%s är inte satt).\n",
     "sndrec32.exe: The recorder needs a graphical display (%s is not set).\n"},
    {kTextMicrophoneLabel, "&Mikrofon:", "&Microphone:"},
    {kTextRecordButton, "Spela &in", "&Record"},
    {kTextStopButton, "&Stoppa", "S&top"},
    {kTextPlayButton, "Spela &upp", "&Play"},
    {kTextSaveButton, "Sp&ara", "&Save"},
    {kTextSkipButton, "&Hoppa över", "S&kip"},
    {kTextLevelName, "Ljudnivå", "Sound level"},
    {kTextTimeName, "Längd", "Length"},
    {kTextNoMicrophone, "Ingen mikrofon hittades. Anslut en mikrofon och försök igen.",
     "No microphone was found. Connect a microphone and try again."},
    {kTextPressRecord, "Tryck på Spela in för att börja.", "Press Record to begin."},
    {kTextRecording, "Spelar in … Tryck på Stoppa när du är klar.",
     "Recording … Press Stop when you are done."},
    {kTextRecorded, "Inspelningen är klar. Spela upp den eller spara den.",
     "The take is done. Play it or save it."},
    {kTextPlaying, "Spelar upp …", "Playing …"},
    {kTextNothingRecorded, "Inget ljud spelades in. Försök igen.",
     "No sound was recorded. Try again."},
    {kTextSilent, "Inget ljud hördes. Kontrollera mikrofonen.",
     "No sound was heard. Check the microphone."},
    {kTextMicrophoneNotStarted, "Mikrofonen kunde inte startas.",
     "The microphone could not be started."},
    {kTextMicrophoneStopped, "Inspelningen avbröts: mikrofonen slutade fungera.",
     "The take was cut short: the microphone stopped working."},
    {kTextCannotPlay, "Ljudet kunde inte spelas upp.", "The sound could not be played."},
    {kTextSpeakerStopped,
     "Uppspelningen avbröts: högtalaren slutade fungera. Inspelningen finns kvar.",
     "Playing stopped: the speaker stopped working. The take is still there."},
    {kTextMicrophoneUnusable, "Den valda mikrofonen kan inte användas. Välj en annan.",
     "The chosen microphone cannot be used. Choose another."},
    {kTextTakeTooLong, "Inspelningen stoppades: den får vara högst 30 minuter lång.",
     "The take was stopped: it may be 30 minutes long at most."},
    {kTextCannotSave, "Ljudfilen kunde inte sparas: %s.", "The sound file could not be saved: %s."},
    {kTextSoundFormatUnsupported, "ljudformatet stöds inte", "the sound format is not supported"},
};

// The forms' texts in English, by the keys FormEnglish names.
constexpr std::pair<std::string_view, std::string_view> kFormEnglish[] = {
    {"ProgressForm", "Korvalo"},
    {"ProgressForm.okButton", "&OK"},
    {"ProgressForm.logLabel", "Log"},
    {"ProgressForm.log.accessibleDescription",
     "What the run does, a line for each picture and folder"},
    {"ProgressForm.cancelButton", "&Cancel"},
    {"SettingsForm", "Korvalo Settings"},
    {"SettingsForm.templateGroup", "&Template"},
    {"SettingsForm.templateLabel", "Template"},
    {"SettingsForm.templateList.accessibleDescription",
     "The template the album's pages are made from"},
    {"SettingsForm.thumbnailsLabel", "Thumbnails &per row:"},
    {"SettingsForm.thumbnailsField.accessibleDescription",
     "So many pictures stand in each row of the album's pages; 0 gives the template's own number"},
    {"SettingsForm.recordingGroup", "Voice comments"},
    {"SettingsForm.recordWhenMissingButton", "Record only where &missing"},
    {"SettingsForm.recordAlwaysButton", "Record &always"},
    {"SettingsForm.recordNeverButton", "Record ne&ver"},
    {"SettingsForm.includeSubfoldersBox", "Include &subfolders"},
    {"SettingsForm.openBrowserBox", "Open the &browser when done"},
    {"SettingsForm.okButton", "&OK"},
    {"SettingsForm.cancelButton", "&Cancel"},
    {"SettingsForm.helpButton", "&Help"},
    {"SettingsForm.helpButton.accessibleDescription", "Opens the help page in the browser"},
    {"SettingsForm.aboutButton", "Abo&ut..."},
    {"SettingsForm.aboutButton.accessibleDescription", "Shows the program's version and maker"},
    {"AboutForm", "About Korvalo"},
    {"AboutForm.okButton", "&OK"},
    {"AboutForm.aboutText",
     "Korvalo\n\nVersion: %s\nDate: %s\n\nMade by Tamsell\n\nCopyright © 2007–2026 Tamsell\n"
     " All rights reserved.\n\nChoose \"Help\" for how this program may be used and "
     "distributed"},
    {"AboutForm.helpButton", "&Help"},
    {"AboutForm.helpButton.accessibleDescription",
     "Opens the help page on how the program may be used"},
    {"AboutForm.programIcon.accessibleName", "Korvalo's icon"},
};

}  // namespace

void UseLanguage(Language chosen) {
  language.store(chosen);
}

Language TextLanguage() {
  return language.load();
}

std::string_view StringTableText(int id) {
  for (const CatalogText& text : kTexts) {
    if (text.Id == id) {
      return TextLanguage() == Language::English ? text.English : text.Swedish;
    }
  }
  return {};
}

std::span<const CatalogText> StringTableEntries() {
  return kTexts;
}

std::string FormKey(std::string_view form, std::string_view object, std::string_view property) {
  std::string key(form);
  if (property == "windowTitle") {
    return key;
  }
  key.append(1, '.').append(object);
  if (property != "text" && property != "title") {
    key.append(1, '.').append(property);
  }
  return key;
}

std::optional<std::string_view> FormEnglish(std::string_view key) {
  const auto found = std::find_if(std::begin(kFormEnglish), std::end(kFormEnglish),
                                  [key](const auto& entry) { return entry.first == key; });
  return found == std::end(kFormEnglish) ? std::nullopt
                                         : std::optional<std::string_view>(found->second);
}
