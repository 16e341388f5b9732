#include "ui/win32/folder_picker.h"

#include <objbase.h>
#include <shlobj.h>

#include "platform/utf16.h"
#include "ui/win32/dialog_support.h"

namespace {

// The shell's own limit for a path it gives out, beyond the classic 260.
constexpr DWORD kLongestPath = 32768;

// The item's file-system path, or an empty text for an item without one.
std::wstring ItemPath(PCIDLIST_ABSOLUTE item) {
  std::wstring path(kLongestPath, L'\0');
  if (item == nullptr || !SHGetPathFromIDListEx(item, path.data(), kLongestPath, GPFIDL_DEFAULT)) {
    return {};
  }
  path.resize(wcslen(path.c_str()));
  return path;
}

std::wstring PicturesFolder() {
  wchar_t path[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, path))
             ? path
             : L"";
}

int CALLBACK BrowseCallback(HWND picker, UINT event, LPARAM data, LPARAM startFolder) {
  if (event == BFFM_INITIALIZED) {
    CenterWindow(picker);
    std::wstring start = reinterpret_cast<const wchar_t*>(startFolder);
    if (!start.empty()) {
      // The picker selects a folder given with its trailing backslash.
      if (start.back() != L'\\') {
        start += L'\\';
      }
      SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(start.c_str()));
    }
  } else if (event == BFFM_SELCHANGED) {
    // An item without a file-system path leaves the last path shown.
    if (const std::wstring path = ItemPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(data));
        !path.empty()) {
      SendMessageW(picker, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
  }
  return 0;
}

}  // namespace

std::string BrowseForFolder(HWND owner, const std::string& startFolder, const std::string& title) {
  const std::wstring start = startFolder.empty() ? PicturesFolder() : Utf16(startFolder);
  const std::wstring wideTitle = Utf16(title);
  BROWSEINFOW request{};
  request.hwndOwner = owner;
  request.lpszTitle = wideTitle.c_str();
  request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  request.lpfn = &BrowseCallback;
  request.lParam = reinterpret_cast<LPARAM>(start.c_str());
  const PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&request);
  const std::wstring path = ItemPath(chosen);
  CoTaskMemFree(chosen);
  return Utf8(path);
}
