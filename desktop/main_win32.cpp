// korvalo.exe: the desktop program for Windows. It takes no arguments; one
// run makes one album.

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "app/language.h"
#include "app/run_state.h"
#include "desktop/run_sequence.h"
#include "platform/program_path.h"
#include "platform/search_path.h"

namespace {

// The shell's folder browser needs COM on the thread that shows it.
class ComApartment {
 public:
  ComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialised_) {
      CoUninitialize();
    }
  }

 private:
  bool initialised_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before any thread starts: the recorder installed beside the program is found.
  AddProgramFolderToSearchPath();
  UseUsersLanguage();
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const ComApartment com;
  RunState run;
  InitRunState(run, ProgramFilePath());
  return RunDesktop(run);
}
