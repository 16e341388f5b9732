#include "tools/sndrec32/win32/recorder_dialog.h"

#include <commctrl.h>

#include "platform/utf16.h"
#include "resources/string_table.h"
#include "tools/sndrec32/win32/recorder_ids.h"

namespace {

constexpr UINT_PTR kPlaybackMeterTimer = 1;

constexpr int kButtonIds[] = {IDC_RECORD, IDC_STOP, IDC_PLAY, IDC_SAVE, IDC_SKIP, IDCANCEL};

int IdOf(RecorderButton button) {
  return kButtonIds[static_cast<int>(button)];
}

}  // namespace

RecorderDialog::RecorderDialog(Recorder& recorder)
    : recorder_(recorder), shownState_(recorder.State()) {}

RecorderDialog::~RecorderDialog() {
  recorder_.SetOnChange(nullptr);
  if (boldFont_ != nullptr) {
    DeleteObject(boldFont_);
  }
  if (bitmap_ != nullptr) {
    DeleteObject(bitmap_);
  }
}

void RecorderDialog::SetMicrophones(std::vector<std::string> names, int chosen,
                                    std::function<void(int)> onChosen) {
  microphones_ = std::move(names);
  chosenMicrophone_ = chosen;
  onMicrophoneChosen_ = std::move(onChosen);
}

int RecorderDialog::Run() {
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RECORDER), nullptr,
                      &RecorderDialog::Procedure, reinterpret_cast<LPARAM>(this));
  recorder_.SetOnChange(nullptr);
  return result == kExitSaved ? kExitSaved : kExitNotSaved;
}

INT_PTR CALLBACK RecorderDialog::Procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    auto* self = reinterpret_cast<RecorderDialog*>(lParam);
    self->window_ = window;
    self->OnInit();
    return FALSE;  // the focus is set already
  }
  auto* self = reinterpret_cast<RecorderDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  return self != nullptr && self->OnMessage(message, wParam, lParam);
}

bool RecorderDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return true;
    case WM_CLOSE:
      OnCommand(IDCANCEL, BN_CLICKED);
      return true;
    case WM_TIMER:
      ShowLevel(LookOf(recorder_).LevelPercent);
      return true;
    case WM_DRAWITEM:
      DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return true;
    case kPictureDecoded:
      ShowPicture(reinterpret_cast<DecodedPicture*>(lParam));
      return true;
    default:
      return false;
  }
}

void RecorderDialog::OnInit() {
  SetWindowTextW(window_, Utf16(RecorderTitle(recorder_.TargetPath())).c_str());
  SetDlgItemTextW(window_, IDC_FILE, Utf16(RecorderFileLine(recorder_.TargetPath())).c_str());
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (const auto& [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, {ICON_SMALL, SM_CXSMICON}}) {
    const int size = GetSystemMetrics(metric);
    const auto icon = static_cast<HICON>(
        LoadImageW(instance, L"SNDREC32", IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
    SendMessageW(window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
  for (const std::string& microphone : microphones_) {
    SendDlgItemMessageW(window_, IDC_MICROPHONE, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(Utf16(microphone).c_str()));
  }
  SendDlgItemMessageW(window_, IDC_MICROPHONE, CB_SETCURSEL, chosenMicrophone_, 0);
  SendDlgItemMessageW(window_, IDC_LEVEL, PBM_SETRANGE32, 0, 100);
  // Named by the hidden label before it, as Windows names a control; and by
  // its own text, which it does not show, for tools that read only that.
  const std::string level(StringTableText(kTextLevelName));
  SetDlgItemTextW(window_, IDC_LEVEL_LABEL, Utf16(level).c_str());
  SetDlgItemTextW(window_, IDC_LEVEL, Utf16(level).c_str());
  // The dialog's own texts in the texts' language.
  for (const auto& [control, text] : {std::pair{IDC_MICROPHONE_LABEL, kTextMicrophoneLabel},
                                      {IDC_RECORD, kTextRecordButton},
                                      {IDC_STOP, kTextStopButton},
                                      {IDC_PLAY, kTextPlayButton},
                                      {IDC_SAVE, kTextSaveButton},
                                      {IDC_SKIP, kTextSkipButton},
                                      {IDCANCEL, kTextCancelButton}}) {
    SetDlgItemTextW(window_, control, Utf16(StringTableText(text)).c_str());
  }
  // The focus and the Alt keys' letters show from the start, not only once
  // the keyboard has been used; posted, as the dialog manager sets them from
  // the last input once the dialog is made.
  PostMessageW(window_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL),
               0);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0)), sizeof font, &font);
  font.lfWeight = FW_BOLD;
  boldFont_ = CreateFontIndirectW(&font);

  meterShown_ = LookOf(recorder_).MeterShown;
  StartPicture();
  Layout();
  recorder_.SetOnChange([this] { Refresh(); });
  Refresh();
  FocusNextStep();
}

void RecorderDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDC_RECORD:
      recorder_.Record();
      break;
    case IDC_STOP:
      recorder_.Stop();
      break;
    case IDC_PLAY:
      recorder_.Play();
      break;
    case IDC_SAVE:
      if (recorder_.Save()) {
        End(RecorderEnd::Saved);
      }
      break;
    case IDC_SKIP:
      recorder_.Cancel();
      End(RecorderEnd::Skipped);
      break;
    case IDCANCEL:
      recorder_.Cancel();
      End(RecorderEnd::Closed);
      break;
    case IDC_MICROPHONE:
      if (code == CBN_SELCHANGE && onMicrophoneChosen_) {
        const auto index = SendDlgItemMessageW(window_, IDC_MICROPHONE, CB_GETCURSEL, 0, 0);
        if (index >= 0) {
          onMicrophoneChosen_(static_cast<int>(index));
        }
      }
      break;
    default:  // IDOK: Enter with no button focused presses nothing
      break;
  }
}

void RecorderDialog::Refresh() {
  const RecorderLook look = LookOf(recorder_);
  for (const RecorderButton button :
       {RecorderButton::Record, RecorderButton::Stop, RecorderButton::Play, RecorderButton::Save,
        RecorderButton::Skip, RecorderButton::Cancel}) {
    EnableWindow(Item(IdOf(button)), Allowed(look.Buttons, button));
  }
  EnableWindow(Item(IDC_MICROPHONE), look.MicrophoneEnabled);
  const std::wstring message = Utf16(recorder_.Message());
  wchar_t shown[512] = {};
  GetDlgItemTextW(window_, IDC_STATUS, shown, 512);
  if (message != shown) {
    SetDlgItemTextW(window_, IDC_STATUS, message.c_str());
  }
  if (look.StatusBold != statusBold_) {
    statusBold_ = look.StatusBold;
    const HFONT font =
        statusBold_ ? boldFont_ : reinterpret_cast<HFONT>(SendMessageW(window_, WM_GETFONT, 0, 0));
    SendDlgItemMessageW(window_, IDC_STATUS, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (look.MeterShown != meterShown_) {
    meterShown_ = look.MeterShown;
    Layout();
  }
  SetDlgItemTextW(window_, IDC_TIME, Utf16(look.Time).c_str());
  ShowLevel(look.LevelPercent);
  const RecorderState state = recorder_.State();
  if (state == RecorderState::Playing) {
    SetTimer(window_, kPlaybackMeterTimer, kPlaybackMeterMs, nullptr);
  } else {
    KillTimer(window_, kPlaybackMeterTimer);
  }
  if (state != shownState_) {
    shownState_ = state;
    FocusNextStep();
  }
}

// Common controls 6 glide a bar up to a higher value, far too slowly for a
// level; a lower value they show at once.
void RecorderDialog::ShowLevel(int percent) {
  if (percent < 100) {
    SendDlgItemMessageW(window_, IDC_LEVEL, PBM_SETPOS, percent + 1, 0);
  }
  SendDlgItemMessageW(window_, IDC_LEVEL, PBM_SETPOS, percent, 0);
}

// Through the dialog manager, so the focused button becomes the one Enter presses.
void RecorderDialog::FocusNextStep() {
  SendMessageW(window_, WM_NEXTDLGCTL,
               reinterpret_cast<WPARAM>(Item(IdOf(NextStep(recorder_.Buttons())))), TRUE);
}

void RecorderDialog::End(RecorderEnd end) {
  KillTimer(window_, kPlaybackMeterTimer);
  EndDialog(window_, ExitCodeOf(end));
}
