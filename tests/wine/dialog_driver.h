// Drives the settings program's pages inside the test process: the page as a child of a plain
// window, and a helper thread that answers the modal dialogs the page opens.
#pragma once
#include <windows.h>
// The common controls header needs the types of <windows.h>.
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "pelisk/app_win.h"
#include "pelisk/keyctl_win.h"

namespace dialogdrive {

// How long a test waits for an answer to return: longer than the answer's own waits together
// (each up to the harness's 10 s), so that a slow answer fails on its own step, not here.
constexpr unsigned long kAnswerWaitMs = 60000;

// Sets up what the settings program's start-up sets up for the pages.
inline void InitSettingsProgram() {
  static bool done = false;
  if (done) return;
  done = true;
  qorv::g_instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  qorv::RegisterKeyWndClass(qorv::g_instance);
  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&version);
#pragma GCC diagnostic pop
  qorv::g_platformId = version.dwPlatformId;
  qorv::g_osMajor = version.dwMajorVersion;
  qorv::g_qorvWndMessage = RegisterWindowMessageW(L"QorvWnd");
}

// A top-level window that holds one page dialog.
class PageHost {
 public:
  PageHost(int dialogId, DLGPROC proc) {
    InitSettingsProgram();
    host_ = CreateWindowExW(0, L"STATIC", L"page host", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 700, 460, nullptr,
                            nullptr, nullptr, nullptr);
    page_ = CreateDialogParamW(qorv::g_instance, MAKEINTRESOURCEW(dialogId), host_, proc, 0);
    if (page_ != nullptr) ShowWindow(page_, SW_SHOW);
  }
  ~PageHost() {
    if (page_ != nullptr) DestroyWindow(page_);
    if (host_ != nullptr) DestroyWindow(host_);
  }
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;
  HWND Page() const { return page_; }
  HWND Item(int id) const { return GetDlgItem(page_, id); }
  // WM_COMMAND from a button of the page, as a click sends it (a command that opens a modal dialog
  // returns when the dialog has closed).
  void Click(int id) const {
    SendMessageW(page_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
  }
  // The frame's closing question (1 OK, 2 Cancel); the page's answer.
  LONG_PTR Close(int id) const {
    SetWindowLongPtrW(page_, DWLP_MSGRESULT, 0);
    SendMessageW(page_, WM_COMMAND, static_cast<WPARAM>(id), 0);
    return GetWindowLongPtrW(page_, DWLP_MSGRESULT);
  }

 private:
  HWND host_ = nullptr;
  HWND page_ = nullptr;
};

// Runs `answer` on a thread of its own for each dialog with the given caption that the test thread
// shows, until the object ends. The test thread must keep pumping meanwhile (a sent command that opens
// a modal dialog does). `answer` must close the dialog.
class DialogAnswerer {
 public:
  DialogAnswerer(const std::wstring& caption, std::function<void(HWND)> answer)
      : caption_(caption), answer_(std::move(answer)), threadId_(GetCurrentThreadId()) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  }
  ~DialogAnswerer() {
    InterlockedExchange(&stop_, 1);
    if (thread_ != nullptr) {
      WaitForSingleObject(thread_, INFINITE);
      CloseHandle(thread_);
    }
  }
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;
  // Answers that have returned; the dialog may close before its answer returns, so wait on this.
  int Answered() const { return static_cast<int>(answered_); }

 private:
  struct Search {
    DialogAnswerer* self;
    HWND found;
  };
  static BOOL CALLBACK Find(HWND hwnd, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    wchar_t caption[128];
    wchar_t cls[16];
    GetClassNameW(hwnd, cls, 16);
    // Never WM_GETTEXT: the test thread may be waiting for this thread and not answer.
    InternalGetWindowText(hwnd, caption, 128);
    if (lstrcmpW(cls, L"#32770") == 0 && search->self->caption_ == caption && IsWindowVisible(hwnd)) {
      search->found = hwnd;
      return FALSE;
    }
    return TRUE;
  }
  static DWORD WINAPI Run(void* param) {
    auto* self = static_cast<DialogAnswerer*>(param);
    HWND last = nullptr;
    while (self->stop_ == 0) {
      Search search = {self, nullptr};
      EnumThreadWindows(self->threadId_, Find, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr && search.found != last) {
        last = search.found;
        self->answer_(search.found);
        InterlockedIncrement(&self->answered_);
      } else if (search.found == nullptr) {
        last = nullptr;
      }
      Sleep(10);
    }
    return 0;
  }

  std::wstring caption_;
  std::function<void(HWND)> answer_;
  DWORD threadId_;
  HANDLE thread_ = nullptr;
  volatile LONG stop_ = 0;
  volatile LONG answered_ = 0;
};

inline std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[512];
  const UINT length = GetDlgItemTextW(dialog, id, text, 512);
  return std::wstring(text, length);
}

// The texts of a list view's rows, columns 0 to columns - 1.
inline std::vector<std::vector<std::wstring>> ListTexts(HWND list, int columns) {
  std::vector<std::vector<std::wstring>> rows;
  const int count = ListView_GetItemCount(list);
  for (int i = 0; i < count; ++i) {
    std::vector<std::wstring> row;
    for (int c = 0; c < columns; ++c) {
      wchar_t text[260] = {};
      ListView_GetItemText(list, i, c, text, 260);
      row.push_back(text);
    }
    rows.push_back(row);
  }
  return rows;
}

inline bool ListChecked(HWND list, int index) { return ListView_GetCheckState(list, index) != 0; }

inline void SelectListRow(HWND list, int index) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A key press as the keyboard delivers it to a focused list view, which tells its parent.
inline void PressKey(HWND control, UINT vk) {
  SetFocus(control);
  SendMessageW(control, WM_KEYDOWN, vk, 1);
  SendMessageW(control, WM_KEYUP, vk, 0xC0000001);
}

inline std::vector<COLORREF> ScreenPixels(const RECT& rect) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  std::vector<COLORREF> pixels;
  if (w <= 0 || h <= 0) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// The pixels of the band `width` wide just inside a window's rectangle, where a picker frame goes.
inline std::vector<COLORREF> FrameBand(HWND window, int width) {
  RECT r;
  GetWindowRect(window, &r);
  std::vector<COLORREF> band;
  const RECT strips[4] = {{r.left, r.top, r.right, r.top + width},
                          {r.left, r.bottom - width, r.right, r.bottom},
                          {r.left, r.top + width, r.left + width, r.bottom - width},
                          {r.right - width, r.top + width, r.right, r.bottom - width}};
  for (const RECT& strip : strips) {
    const std::vector<COLORREF> part = ScreenPixels(strip);
    band.insert(band.end(), part.begin(), part.end());
  }
  return band;
}

inline std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

inline void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

inline bool FileExistsAt(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace dialogdrive
