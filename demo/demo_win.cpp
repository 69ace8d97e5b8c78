// qorv_demo.exe: the demonstration that `make run` plays in a virtual desktop. "show" (or no argument) opens two
// windows, a document and a list; "prepare <step>" arranges the desktop for a step and "do <step>"
// carries it out with real mouse input and prints one line saying what happened (exit code 0 when
// it did); "wait-qorv" waits for the main program, "close-menu" closes the tray menu, "quit" ends
// "show". Steps: wheel (the wheel over an inactive window), snap (a window dragged until it snaps),
// caption (the wheel over a caption brings the window to the front), size (the size shown while
// sizing), menu (the tray icon's menu).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <initializer_list>

#include "host/tray_win.h"
#include "pelisk/sheet.h"

namespace {

constexpr wchar_t kClass[] = L"QorvDemoWindow";
constexpr wchar_t kDocTitle[] = L"Qorv デモ: 文書";
constexpr wchar_t kListTitle[] = L"Qorv デモ: 一覧";
constexpr DWORD kWaitMs = 5000;

// --- show -------------------------------------------------------------------------------------

LRESULT CALLBACK DemoProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE: {
      HWND child = GetWindow(hwnd, GW_CHILD);
      if (child != nullptr) MoveWindow(child, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    }
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

HWND CreateDemoWindow(HINSTANCE instance, const wchar_t* title, int x, int y, int w, int h) {
  return CreateWindowExW(0, kClass, title, WS_OVERLAPPEDWINDOW, x, y, w, h, nullptr, nullptr, instance, nullptr);
}

int Show(HINSTANCE instance) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DemoProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClass;
  if (!RegisterClassExW(&wc)) return 3;
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));

  HWND doc = CreateDemoWindow(instance, kDocTitle, 60, 60, 420, 380);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", nullptr,
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0,
                              0, doc, nullptr, instance, nullptr);
  static wchar_t text[200 * 48];
  text[0] = 0;
  for (int i = 1; i <= 200; ++i) {
    wchar_t line[48];
    swprintf(line, 48, L"%3d 行目: ホイールで読み進める文書です。\r\n", i);
    wcscat(text, line);
  }
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextW(edit, text);

  HWND list = CreateDemoWindow(instance, kListTitle, 560, 140, 360, 360);
  HWND box =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                      0, 0, 0, 0, list, nullptr, instance, nullptr);
  SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (int i = 1; i <= 100; ++i) {
    wchar_t item[32];
    swprintf(item, 32, L"項目 %d", i);
    SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  for (HWND hwnd : {doc, list}) {
    RECT client;
    GetClientRect(hwnd, &client);
    SendMessageW(hwnd, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

// --- driving ----------------------------------------------------------------------------------

template <typename F>
bool WaitFor(F&& pred, DWORD timeoutMs = kWaitMs) {
  const DWORD start = GetTickCount();
  while (!pred()) {
    if (GetTickCount() - start >= timeoutMs) return pred();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  return true;
}

void Mouse(int x, int y, DWORD flags, int data = 0) {
  INPUT in = {};
  in.type = INPUT_MOUSE;
  const int cx = GetSystemMetrics(SM_CXSCREEN);
  const int cy = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(x) * 65536 + cx - 1) / cx);
  in.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(y) * 65536 + cy - 1) / cy);
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  in.mi.mouseData = static_cast<DWORD>(data);
  SendInput(1, &in, sizeof(in));
}

bool MoveTo(int x, int y) {
  Mouse(x, y, 0);
  return WaitFor([&] {
    POINT p;
    GetCursorPos(&p);
    return p.x == x && p.y == y;
  });
}

RECT Rect(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  return r;
}

bool Front(HWND hwnd) {
  SetForegroundWindow(hwnd);
  return WaitFor([&] { return GetForegroundWindow() == hwnd; });
}

// A point of the window's caption, found by asking the window.
bool CaptionPoint(HWND hwnd, POINT& pt) {
  const RECT r = Rect(hwnd);
  for (int y = r.top; y < r.bottom; y += 2) {
    for (int x = r.left + (r.right - r.left) / 3; x < r.right; x += 4) {
      DWORD_PTR hit = 0;
      if (SendMessageTimeoutW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 2000, &hit) && hit == HTCAPTION) {
        pt = {x + 1, y + 2};
        return true;
      }
    }
  }
  return false;
}

int Say(bool ok, const char* text) {
  printf("%s%s\n", ok ? "" : "FAILED: ", text);
  fflush(stdout);
  return ok ? 0 : 1;
}

int CloseMenu();
HWND SettingsWindow();

int Prepare(const wchar_t* step, HWND doc, HWND list) {
  HWND edit = GetWindow(doc, GW_CHILD);
  if (wcscmp(step, L"wheel") == 0) {
    const RECT r = Rect(edit);
    const bool ok = Front(list) && MoveTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    return Say(ok, "prepared: the list is active, the cursor rests over the inactive document");
  }
  if (wcscmp(step, L"snap") == 0) {
    POINT pt;
    const bool ok = Front(list) && CaptionPoint(list, pt) && MoveTo(pt.x, pt.y);
    return Say(ok, "prepared: the cursor rests on the list's caption");
  }
  if (wcscmp(step, L"caption") == 0) {
    // The list over the lower part of the document, so that bringing the document up shows.
    const RECT d = Rect(doc);
    SetWindowPos(list, nullptr, d.left + 200, d.top + 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitFor([&] { return Rect(list).left == d.left + 200; });
    POINT pt;
    const bool ok = Front(list) && CaptionPoint(doc, pt) && MoveTo(pt.x, pt.y);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return Say(ok, "prepared: the list lies over the document, the cursor rests on the document's caption");
  }
  if (wcscmp(step, L"size") == 0) {
    // The document's lower right corner held and dragged part of the way: the size shows by the cursor.
    const RECT r = Rect(doc);
    const bool ok = Front(doc) && MoveTo(r.right - 2, r.bottom - 2);
    DWORD_PTR hit = 0;
    SendMessageTimeoutW(doc, WM_NCHITTEST, 0, MAKELPARAM(r.right - 2, r.bottom - 2), SMTO_NORMAL, 2000, &hit);
    if (!ok || hit != HTBOTTOMRIGHT) return Say(false, "the document's corner was not found");
    Mouse(r.right - 2, r.bottom - 2, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 4; ++i) {
      const RECT before = Rect(doc);
      Mouse(r.right - 2 + 15 * i, r.bottom - 2 + 10 * i, 0);
      WaitFor([&] { return Rect(doc).right != before.right; }, 700);
    }
    const bool tip = WaitFor([] {
      HWND t = FindWindowW(L"tooltips_class32", nullptr);
      for (; t != nullptr; t = FindWindowExW(nullptr, t, L"tooltips_class32", nullptr)) {
        if (IsWindowVisible(t)) return true;
      }
      return false;
    });
    // The screen behind the moving tooltip repainted, as it would be by the time a user looks.
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return Say(tip, "prepared: the document's corner is held and dragged; qorv shows the size by the cursor");
  }
  if (wcscmp(step, L"menu") == 0) {
    const bool ok = MoveTo(GetSystemMetrics(SM_CXSCREEN) - 40, GetSystemMetrics(SM_CYSCREEN) - 40);
    return Say(ok, "prepared: the cursor rests by the tray icon");
  }
  if (wcscmp(step, L"settings") == 0) {
    return Say(CloseMenu() == 0, "prepared: the tray menu is closed again");
  }
  return Say(false, "unknown step");
}

// The menu window of the tray icon, when one is open.
HWND OpenMenu() {
  for (HWND m = FindWindowW(L"#32768", nullptr); m != nullptr; m = FindWindowExW(nullptr, m, L"#32768", nullptr)) {
    if (IsWindowVisible(m)) return m;
  }
  return nullptr;
}

int Do(const wchar_t* step, HWND doc, HWND list) {
  HWND edit = GetWindow(doc, GW_CHILD);
  char line[256];
  if (wcscmp(step, L"wheel") == 0) {
    const LRESULT before = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    POINT pt;
    GetCursorPos(&pt);
    UINT perNotch = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    for (int i = 0; i < 5; ++i) Mouse(pt.x, pt.y, MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
    const LRESULT expected = before + 5 * static_cast<LRESULT>(perNotch);
    const bool scrolled = WaitFor([&] { return SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0) >= expected; });
    const LRESULT after = SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    RedrawWindow(doc, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const bool listActive = GetForegroundWindow() == list;
    snprintf(line, sizeof(line),
             "wheel: five notches down over the inactive document scrolled it from line %ld to line %ld; "
             "the list stayed active: %s",
             static_cast<long>(before + 1), static_cast<long>(after + 1), listActive ? "yes" : "no");
    return Say(scrolled, line);
  }
  if (wcscmp(step, L"snap") == 0) {
    // Towards the document's right edge, stopping 6 pixels short of it: the snap closes the gap.
    const RECT target = Rect(doc);
    RECT r = Rect(list);
    POINT at;
    GetCursorPos(&at);
    const int dx = (target.right + 6) - r.left;
    const int dy = target.top + 30 - r.top;
    Mouse(at.x, at.y, MOUSEEVENTF_LEFTDOWN);
    const int steps = 1 + abs(dx) / 20;
    for (int i = 1; i <= steps; ++i) {
      const RECT before = Rect(list);
      Mouse(at.x + dx * i / steps, at.y + dy * i / steps, 0);
      WaitFor(
          [&] {
            const RECT now = Rect(list);
            return now.left != before.left || now.top != before.top;
          },
          700);
    }
    Mouse(at.x + dx, at.y + dy, MOUSEEVENTF_LEFTUP);
    WaitFor([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
    r = Rect(list);
    snprintf(line, sizeof(line),
             "snap: the list was dragged to 6 pixels right of the document's edge (x %ld) and snapped to x %ld",
             static_cast<long>(target.right), static_cast<long>(r.left));
    return Say(r.left == target.right, line);
  }
  if (wcscmp(step, L"caption") == 0) {
    POINT pt;
    GetCursorPos(&pt);
    Mouse(pt.x, pt.y, MOUSEEVENTF_WHEEL, WHEEL_DELTA);
    const bool front = WaitFor([&] { return GetForegroundWindow() == doc; });
    RedrawWindow(doc, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return Say(front, front ? "caption: one notch over the document's caption brought it to the front"
                            : "caption: the document did not come to the front");
  }
  if (wcscmp(step, L"size") == 0) {
    POINT pt;
    GetCursorPos(&pt);
    Mouse(pt.x, pt.y, MOUSEEVENTF_LEFTUP);
    WaitFor([] { return GetAsyncKeyState(VK_LBUTTON) >= 0; });
    const RECT r = Rect(doc);
    snprintf(line, sizeof(line), "size: the document was sized to %ld x %ld with its size shown by the cursor",
             static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
    return Say(true, line);
  }
  if (wcscmp(step, L"menu") == 0) {
    // What a right click on the icon sends to qorv.
    HWND qorv = FindWindowW(L"QorvMainWnd", L"Qorv");
    if (qorv != nullptr) PostMessageW(qorv, WM_APP + 10, 1, WM_RBUTTONUP);
    const bool open = WaitFor([] { return OpenMenu() != nullptr; });
    return Say(open, open ? "menu: the tray icon's menu opened (settings, pause, start with Windows, exit)"
                          : "menu: the tray icon's menu did not open");
  }
  if (wcscmp(step, L"settings") == 0) {
    // What choosing the menu's settings item sends to qorv: it starts pelisk.exe from its folder.
    HWND qorv = FindWindowW(L"QorvMainWnd", L"Qorv");
    if (qorv != nullptr) PostMessageW(qorv, WM_COMMAND, qorv::kCmdSettings, 0);
    bool shown = WaitFor([] { return SettingsWindow() != nullptr; }, 15000);
    // Shown is not yet drawn: wait until the frame has its first page, then let it paint all of it.
    HWND frame = SettingsWindow();
    shown = shown && WaitFor([&] {
              DWORD_PTR page = 0;
              return SendMessageTimeoutW(frame, qorv::kSheetGetCurrentPage, 0, 0, SMTO_ABORTIFHUNG, 2000, &page) && page != 0 &&
                     IsWindowVisible(reinterpret_cast<HWND>(page));
            });
    if (shown) RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return Say(shown, shown ? "settings: the tray menu's settings item opened the settings window beside the running qorv"
                            : "settings: the settings window did not open");
  }
  return Say(false, "unknown step");
}

// The settings program's window, when one is shown.
HWND SettingsWindow() {
  // Titled in the language the settings program chose for this user.
  for (const wchar_t* title : {L"Qorv 1.6 設定", L"Qorv 1.6 Settings"}) {
    HWND w = FindWindowW(L"#32770", title);
    if (w != nullptr && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

// Ends the settings program as its Cancel button does.
int CloseSettings() {
  HWND w = SettingsWindow();
  if (w == nullptr) return 0;
  PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
  return WaitFor([] { return SettingsWindow() == nullptr; }) ? 0 : 1;
}

// Closes the tray menu as the Escape key does.
int CloseMenu() {
  if (OpenMenu() == nullptr) return 0;
  keybd_event(VK_ESCAPE, static_cast<BYTE>(MapVirtualKeyW(VK_ESCAPE, 0)), 0, 0);
  keybd_event(VK_ESCAPE, static_cast<BYTE>(MapVirtualKeyW(VK_ESCAPE, 0)), KEYEVENTF_KEYUP, 0);
  return WaitFor([] { return OpenMenu() == nullptr; }) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Show(GetModuleHandleW(nullptr));
  if (wcscmp(argv[1], L"show") == 0) return Show(GetModuleHandleW(nullptr));
  if (wcscmp(argv[1], L"wait-qorv") == 0) {
    const bool up = WaitFor([] { return FindWindowW(L"QorvMainWnd", L"Qorv") != nullptr; }, 20000);
    return Say(up, up ? "qorv.exe runs" : "qorv.exe did not come up");
  }
  HWND doc = nullptr;
  HWND list = nullptr;
  WaitFor([&] {
    doc = FindWindowW(kClass, kDocTitle);
    list = FindWindowW(kClass, kListTitle);
    return doc != nullptr && list != nullptr && IsWindowVisible(doc) && IsWindowVisible(list);
  });
  if (doc == nullptr || list == nullptr) return Say(false, "the demonstration windows did not appear");
  if (argc >= 3 && wcscmp(argv[1], L"prepare") == 0) return Prepare(argv[2], doc, list);
  if (argc >= 3 && wcscmp(argv[1], L"do") == 0) return Do(argv[2], doc, list);
  if (wcscmp(argv[1], L"close-menu") == 0) return CloseMenu();
  if (wcscmp(argv[1], L"close-settings") == 0) return CloseSettings();
  if (wcscmp(argv[1], L"quit") == 0) return PostMessageW(doc, WM_CLOSE, 0, 0) ? 0 : 1;
  return 2;
}
