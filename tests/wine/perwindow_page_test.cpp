// The per-window page and its editor inside the test process, in the Japanese locale: the first
// visit's copy of the initial table, Apply and OK writing "MapFlag.ini" and announcing it, the list
// commands, and the window picker dragged onto a window of another process.
#include <gtest/gtest.h>

#include <atomic>

#include <string>
#include <vector>

#include "pelisk/pages/pages_win.h"
#include "pelisk/resource.h"
#include "settings/map_file.h"
#include "tests/wine/dialog_driver.h"
#include "tests/wine/harness.h"
#include "tests/wine/input.h"
#include "tests/wine/pelisk_harness.h"
#include "tests/wine/snap_driver.h"
#include "tests/wine/wheel_protocol.h"

using dialogdrive::DialogAnswerer;
using dialogdrive::ItemText;
using dialogdrive::ListTexts;
using dialogdrive::PageHost;
using dialogdrive::ReadFileBytes;
using dialogdrive::WriteFileBytes;
using harness::WaitFor;

namespace {

const wchar_t kEditorCaption[] = L"Qorv 個別設定";

// Plays the running main program: holds its presence mutex and records the "QorvWnd" broadcasts.
class MainStandIn {
 public:
  MainStandIn() {
    wchar_t name[64];
    swprintf(name, 64, L"QorvWnd %d", static_cast<int>(reinterpret_cast<INT_PTR>(GetDesktopWindow())));
    mutex_ = CreateMutexW(nullptr, FALSE, name);
    message_ = RegisterWindowMessageW(L"QorvWnd");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QorvPageTestMain";
    RegisterClassW(&wc);
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~MainStandIn() {
    DestroyWindow(window_);
    CloseHandle(mutex_);
  }
  std::vector<std::pair<WPARAM, LPARAM>> received;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<MainStandIn*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && msg == self->message_) self->received.emplace_back(wp, lp);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  HANDLE mutex_ = nullptr;
  HWND window_ = nullptr;
  UINT message_ = 0;
};

class PerWindowPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    flag_ = harness::ExeDir() + L"\\MapFlag.ini";
    init_ = ReadFileBytes(harness::ExeDir() + L"\\MapInit.ini");
    DeleteFileW(flag_.c_str());
  }
  void TearDown() override {
    DeleteFileW(flag_.c_str());
    input::ReleaseAll();
  }
  std::string FlagBytes() const { return ReadFileBytes(flag_); }

  std::wstring flag_;
  std::string init_;
};

qorv::MapEntry Row(uint32_t flag, const char* title, int id, const char* file, const char* cls) {
  qorv::MapEntry e;
  e.EntryFlag = flag;
  e.EntryWheelFlag = 0x003F0BE9;
  e.Title = title;
  e.WndId = id;
  e.FileName = file;
  e.ClassName = cls;
  return e;
}

std::vector<std::wstring> Titles(HWND list) {
  std::vector<std::wstring> titles;
  for (const auto& row : ListTexts(list, 1)) titles.push_back(row[0]);
  return titles;
}

// The screen around a window once it has painted everything it had to: a frame is an inversion of
// what is on the screen, and a paint after this picture would wipe it.
std::vector<COLORREF> CleanFrameBand(HWND top) {
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  std::vector<COLORREF> clean = dialogdrive::FrameBand(top, 4);
  WaitFor([&] {
    const std::vector<COLORREF> again = dialogdrive::FrameBand(top, 4);
    const bool steady = again == clean;
    clean = again;
    return steady;
  });
  return clean;
}

// The point of the last mouse move that the editor's thread took from its queue, kept by a message
// hook on that thread: the witness that the editor has seen a step of the drag.
std::atomic<LONG> g_editorMove{-1};
HHOOK g_editorHook = nullptr;

LRESULT CALLBACK EditorMoveHook(int code, WPARAM wp, LPARAM lp) {
  const MSG* m = reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE && m->message == WM_MOUSEMOVE) g_editorMove = MAKELONG(m->pt.x, m->pt.y);
  return CallNextHookEx(nullptr, code, wp, lp);
}

void WatchEditorMoves(DWORD uiThread) {
  if (g_editorHook == nullptr) g_editorHook = SetWindowsHookExW(WH_GETMESSAGE, EditorMoveHook, nullptr, uiThread);
}

// Moves the held mouse in steps, each taken by the editor's thread before the next. Under Wine a
// cursor put back to an older point would make the editor follow it there and take its frame off
// the window under test, so each step also waits until the cursor stays; and a thread that holds
// the capture now and then sleeps on with a move in its queue until further input comes, as a real
// mouse sends all the time: a quarter of a second after the last move, a step aside and back wakes
// it (a move to where the cursor already is may come to nothing). Without the editor's capture (the
// countdown) the moves go to the windows under the cursor, and only the cursor is waited for.
void DragTo(POINT from, POINT to, bool editorHolds = true) {
  for (int i = 1; i <= 8; ++i) {
    const POINT p = {from.x + (to.x - from.x) * i / 8, from.y + (to.y - from.y) * i / 8};
    input::MoveTo(p.x, p.y);
    DWORD moved = GetTickCount();
    EXPECT_TRUE(WaitFor([&] {
      const bool stays = input::CursorStaysAt(p);
      if (stays && (!editorHolds || g_editorMove == MAKELONG(p.x, p.y))) return true;
      if (editorHolds && GetTickCount() - moved >= 250) {
        input::MoveTo(p.x + 1, p.y);
        input::MoveTo(p.x, p.y);
        moved = GetTickCount();
      }
      return false;
    })) << "the editor never took the move to " << p.x << "," << p.y << "; it last took "
        << static_cast<short>(LOWORD(g_editorMove.load())) << "," << static_cast<short>(HIWORD(g_editorMove.load()))
        << ", cursor " << snapdrive::CursorText();
  }
}

// Presses the left button on the editor's picker icon once the cursor is over it; true when the
// editor then holds the mouse. What was under the cursor goes to `seen` for the failure message.
bool PressOnPicker(HWND dialog, DWORD uiThread, POINT start, std::wstring& seen) {
  WatchEditorMoves(uiThread);
  HWND icon = GetDlgItem(dialog, IDC_ME_PICKER);
  input::MoveTo(start.x, start.y);
  const bool over = WaitFor([&] { return WindowFromPoint(start) == icon; }, 5000) && WaitFor(
                                                                                         [&] {
                                                                                           POINT now;
                                                                                           GetCursorPos(&now);
                                                                                           return now.x == start.x &&
                                                                                                  now.y == start.y;
                                                                                         },
                                                                                         3000);
  wchar_t cls[64] = {};
  GetClassNameW(WindowFromPoint(start), cls, 64);
  seen = std::wstring(L"under the cursor: ") + cls + (over ? L"" : L" (not the icon)") +
         (GetForegroundWindow() == dialog ? L", editor in front" : L", editor not in front");
  input::Mouse(MOUSEEVENTF_LEFTDOWN);
  return WaitFor([&] {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(uiThread, &info) && info.hwndCapture == dialog;
  });
}

TEST_F(PerWindowPageTest, FirstVisitCopiesTheInitialTableAndApplyWritesIt) {
  ASSERT_FALSE(init_.empty());
  std::vector<qorv::MapEntry> expected = qorv::MapParse(init_.data(), init_.size());
  ASSERT_GE(expected.size(), 2u);
  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  ASSERT_NE(host.Page(), nullptr);
  HWND list = host.Item(IDC_PW_LIST);
  EXPECT_EQ(ListView_GetItemCount(list), static_cast<int>(expected.size()));
  EXPECT_EQ(FlagBytes(), init_) << "the initial table becomes the user's file";
  const auto rows = ListTexts(list, 4);
  EXPECT_EQ(rows[0][0], L"UWP アプリの枠");
  EXPECT_EQ(rows[0][2], L"ApplicationFrameWindow");
  EXPECT_EQ(rows[0][3], L"");
  EXPECT_FALSE(IsWindowEnabled(host.Item(IDC_PW_APPLY)));

  MainStandIn main;
  ListView_SetCheckState(list, 0, FALSE);  // the user unticks the first row
  EXPECT_TRUE(IsWindowEnabled(host.Item(IDC_PW_APPLY)));
  EXPECT_EQ(FlagBytes(), init_) << "nothing is written before Apply";
  host.Click(IDC_PW_APPLY);
  expected[0].EntryFlag &= ~1u;
  EXPECT_EQ(FlagBytes(), qorv::MapFormat(expected));
  EXPECT_FALSE(IsWindowEnabled(host.Item(IDC_PW_APPLY)));
  ASSERT_TRUE(WaitFor([&] { return !main.received.empty(); }));
  EXPECT_EQ(main.received[0].first, 4u);
  EXPECT_EQ(main.received[0].second, static_cast<LPARAM>(GetCurrentThreadId()));

  // OK writes again even without a change; Cancel writes nothing.
  DeleteFileW(flag_.c_str());
  EXPECT_EQ(host.Close(IDCANCEL), 1);
  EXPECT_FALSE(dialogdrive::FileExistsAt(flag_));
  EXPECT_EQ(host.Close(IDOK), 1);
  EXPECT_EQ(FlagBytes(), qorv::MapFormat(expected));
}

TEST_F(PerWindowPageTest, ListCommandsReorderTheFile) {
  WriteFileBytes(flag_, qorv::MapFormat({Row(0x61, "A", 0, "a.exe", "AWnd"), Row(0x21, "B", 0, "b.exe", ""),
                                         Row(0x41, "C", 0, "", "CWnd")}));
  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  HWND list = host.Item(IDC_PW_LIST);
  ASSERT_EQ(ListView_GetItemCount(list), 3);

  std::function<void(HWND)> step;
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) { step(dialog); });

  // Insert in the list is New: the new row goes above the selected one.
  step = [](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_ME_TITLE, L"N|ew");
    SetDlgItemTextW(dialog, IDC_ME_FILE, L"n.exe");
    CheckDlgButton(dialog, IDC_ME_BY_CLASS, BST_UNCHECKED);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  };
  dialogdrive::SelectListRow(list, 1);
  dialogdrive::PressKey(list, VK_INSERT);
  ASSERT_TRUE(WaitFor([&] { return ListView_GetItemCount(list) == 4; }));
  EXPECT_EQ(Titles(list), (std::vector<std::wstring>{L"A", L"N ew", L"B", L"C"}));
  EXPECT_TRUE(dialogdrive::ListChecked(list, 1));
  EXPECT_TRUE(IsWindowEnabled(host.Item(IDC_PW_APPLY)));

  host.Click(IDC_PW_UP);
  host.Click(IDC_PW_UP);  // already first: stays
  EXPECT_EQ(Titles(list), (std::vector<std::wstring>{L"N ew", L"A", L"B", L"C"}));
  dialogdrive::SelectListRow(list, 3);
  host.Click(IDC_PW_DOWN);  // already last: stays
  host.Click(IDC_PW_UP);
  EXPECT_EQ(Titles(list), (std::vector<std::wstring>{L"N ew", L"A", L"C", L"B"}));

  // F2 edits: matched by id only, the id typed as a negative number.
  step = [](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_ME_TITLE, L"");
    CheckDlgButton(dialog, IDC_ME_BY_CLASS, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_ME_BY_ID, BST_CHECKED);
    SetDlgItemTextW(dialog, IDC_ME_ID, L"-5");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  };
  dialogdrive::SelectListRow(list, 2);
  const int answered = editor.Answered();
  dialogdrive::PressKey(list, VK_F2);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == answered + 1 && ListTexts(list, 4)[2][0] != L"C"; }, dialogdrive::kAnswerWaitMs));
  EXPECT_EQ(ListTexts(list, 4)[2], (std::vector<std::wstring>{L"(タイトルなし)", L"", L"CWnd", L"-5"}));

  // An editor OK with no match box stores an entry that matches nothing, shown unticked.
  step = [](HWND dialog) {
    for (int id : {IDC_ME_BY_FILE, IDC_ME_BY_CLASS, IDC_ME_BY_ID}) CheckDlgButton(dialog, id, BST_UNCHECKED);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  };
  dialogdrive::SelectListRow(list, 3);
  host.Click(IDC_PW_EDIT);
  EXPECT_FALSE(dialogdrive::ListChecked(list, 3));

  // A double click edits too; Cancel changes nothing.
  step = [](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_ME_TITLE, L"discarded");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  dialogdrive::SelectListRow(list, 0);
  RECT item = {};
  item.left = LVIR_BOUNDS;
  SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  const int before = editor.Answered();
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(item.left + 40, (item.top + item.bottom) / 2));
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(item.left + 40, (item.top + item.bottom) / 2));
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == before + 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_EQ(Titles(list)[0], L"N ew");

  // Delete in the list removes the selected row and selects the one now in its place.
  dialogdrive::SelectListRow(list, 1);
  dialogdrive::PressKey(list, VK_DELETE);
  ASSERT_TRUE(WaitFor([&] { return ListView_GetItemCount(list) == 3; }));
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);

  host.Click(IDC_PW_APPLY);
  const std::string file = FlagBytes();
  EXPECT_EQ(file.substr(0, file.find("\r\n") + 2), "0x0021|0x00000001|0|N ew|0|n.exe||\r\n");
  const auto parsed = qorv::MapParse(file.data(), file.size());
  ASSERT_EQ(parsed.size(), 3u);
  EXPECT_EQ(parsed[1].EntryFlag, 0x11u);
  EXPECT_EQ(parsed[1].EntryWheelFlag, 0x003F0BE9u) << "bits the editor does not show pass through";
  EXPECT_EQ(parsed[1].WndId, -5);
  EXPECT_EQ(parsed[1].ClassName, "CWnd");
  EXPECT_EQ(parsed[2].EntryFlag, 0u);
  EXPECT_EQ(parsed[2].Title, "B");

  // Deleting every row and applying deletes the file.
  for (int i = 0; i < 3; ++i) {
    dialogdrive::SelectListRow(list, 0);
    host.Click(IDC_PW_DELETE);
  }
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), -1);
  host.Click(IDC_PW_APPLY);
  EXPECT_FALSE(dialogdrive::FileExistsAt(flag_));
  EXPECT_FALSE(IsWindowEnabled(host.Item(IDC_PW_APPLY)));
}

// Holds a key for GetKeyState in this thread (the page's) while a command runs.
class KeyHeld {
 public:
  explicit KeyHeld(int vk) : vk_(vk) { Set(0x80); }
  ~KeyHeld() { Set(0); }
  KeyHeld(const KeyHeld&) = delete;
  KeyHeld& operator=(const KeyHeld&) = delete;

 private:
  void Set(BYTE state) const {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[vk_] = state;
    SetKeyboardState(keys);
  }
  int vk_;
};

TEST_F(PerWindowPageTest, CtrlNewCopiesTheRowAboveWithoutTheEditor) {
  WriteFileBytes(flag_, qorv::MapFormat({Row(0x61, "A", 0, "a.exe", "AWnd"), Row(0x21, "B", 0, "b.exe", "")}));
  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  HWND list = host.Item(IDC_PW_LIST);
  DialogAnswerer editor(kEditorCaption, [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
  {
    KeyHeld ctrl(VK_CONTROL);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    host.Click(IDC_PW_NEW);  // no row selected: nothing
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    dialogdrive::SelectListRow(list, 1);
    host.Click(IDC_PW_NEW);
  }
  EXPECT_EQ(Titles(list), (std::vector<std::wstring>{L"A", L"B", L"B"}));
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1) << "the copy stands above its row, selected";
  EXPECT_EQ(editor.Answered(), 0) << "no editor opened";
  EXPECT_TRUE(IsWindowEnabled(host.Item(IDC_PW_APPLY)));
}

TEST_F(PerWindowPageTest, ShiftNewStartsFromTheGlobalWheelWithAnEmptyTitle) {
  pelisk::InitInProcess();
  // The global word with the activation bit and a recovery time: both stay out of the new entry.
  qorv::g_settings.WheelFlag = 0x053F0BE9 | 0x00000008;
  const struct {
    bool shift;
    std::wstring title;
    int vertical;  // amount list's item
    bool forward;  // 1124, the entry's wheel bit 0x1
    bool precise;  // 1136, 0x200
  } kCases[] = {{false, L"(新規)", 0, true, false}, {true, L"", 11, true, true}};
  for (const auto& c : kCases) {
    PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
    std::wstring title = L"?";
    int vertical = -1;
    bool forward = false;
    bool precise = false;
    bool activate = true;
    DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
      title = ItemText(dialog, IDC_ME_TITLE);
      vertical = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ME_VAMOUNT, CB_GETCURSEL, 0, 0));
      forward = IsDlgButtonChecked(dialog, IDC_ME_FORWARD) == BST_CHECKED;
      precise = IsDlgButtonChecked(dialog, IDC_ME_PRECISE) == BST_CHECKED;
      activate = IsDlgButtonChecked(dialog, IDC_ME_ACTIVATE_WHEEL) == BST_CHECKED ||
                 IsWindowVisible(GetDlgItem(dialog, IDC_ME_ACTIVATE_WHEEL));
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    {
      KeyHeld shift(c.shift ? VK_SHIFT : 0xFF);
      host.Click(IDC_PW_NEW);
    }
    ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs)) << c.shift;
    EXPECT_EQ(title, c.title) << c.shift;
    EXPECT_EQ(vertical, c.vertical) << c.shift;
    EXPECT_EQ(forward, c.forward) << c.shift;
    EXPECT_EQ(precise, c.precise) << c.shift;
    EXPECT_FALSE(activate) << c.shift;
  }
}

TEST_F(PerWindowPageTest, AFailedWriteKeepsApplyAndIsReported) {
  WriteFileBytes(flag_, qorv::MapFormat({Row(0x61, "A", 0, "a.exe", "AWnd")}));
  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  HWND list = host.Item(IDC_PW_LIST);
  ListView_SetCheckState(list, 0, FALSE);
  HANDLE lock = CreateFileW(flag_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  host.Click(IDC_PW_APPLY);
  EXPECT_TRUE(IsWindowEnabled(host.Item(IDC_PW_APPLY))) << "the user can try again";

  std::wstring text;
  DialogAnswerer report(L"Qorv 1.6 設定", [&](HWND box) {
    wchar_t buffer[256] = {};
    GetDlgItemTextW(box, 0xFFFF, buffer, 256);
    text = buffer;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(host.Close(IDOK), 1);
  EXPECT_TRUE(WaitFor([&] { return report.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_NE(text.find(L"MapFlag.ini"), std::wstring::npos) << "reported: " << text.c_str();
  CloseHandle(lock);
  EXPECT_EQ(qorv::MapParse(FlagBytes().data(), FlagBytes().size())[0].EntryFlag, 0x61u);
}

TEST_F(PerWindowPageTest, AnUnreadableTableIsNotReplacedByTheInitialOne) {
  const std::string mine = qorv::MapFormat({Row(0x61, "Mine", 0, "mine.exe", "MineWnd")});
  WriteFileBytes(flag_, mine);
  HANDLE lock = CreateFileW(flag_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  CloseHandle(lock);
  HWND list = host.Item(IDC_PW_LIST);
  const size_t initRows = qorv::MapParse(init_.data(), init_.size()).size();
  EXPECT_EQ(ListView_GetItemCount(list), static_cast<int>(initRows)) << "the initial table is shown";
  EXPECT_EQ(host.Close(IDOK), 1);
  EXPECT_EQ(FlagBytes(), mine) << "an untouched list does not replace the user's file";

  ListView_SetCheckState(list, 0, FALSE);  // once the user changes the list, it is written
  EXPECT_EQ(host.Close(IDOK), 1);
  EXPECT_EQ(qorv::MapParse(FlagBytes().data(), FlagBytes().size()).size(), initRows);
}

// The picker dragged with real input over a window of another process and onto its child control
// fills the editor; the frame shows while it searches and none is left behind. (Wine shows frames
// drawn on the screen's surface, which top-level windows use; a child's own surface in another
// process is not shown, so the pixels are compared around the top-level window.)
TEST_F(PerWindowPageTest, PickerDraggedOntoAnotherProcessFillsTheEditor) {
  WriteFileBytes(flag_, qorv::MapFormat({Row(0x61, "A", 0, "a.exe", "AWnd")}));
  snapdrive::SnapApp app({L"a=trackbar@600,520,400,160"});
  ASSERT_TRUE(app.AllFound());
  HWND top = app.Window(0);
  HWND trackbar = FindWindowExW(top, nullptr, L"msctls_trackbar32", nullptr);
  ASSERT_NE(trackbar, nullptr);
  wchar_t topTitle[128] = {};
  GetWindowTextW(top, topTitle, 128);

  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  const DWORD uiThread = GetCurrentThreadId();
  struct Seen {
    bool captured = false, frameShown = false, frameMoved = false, frameGone = false;
    std::wstring press;
    std::wstring title, file, cls, id;
  } seen;
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
    SendMessageW(GetDlgItem(dialog, IDC_ME_BY_ID), BM_SETCHECK, BST_CHECKED, 0);
    // The editor is in front, as a user's editor is: only the foreground thread's capture holds the
    // mouse over another program's window.
    SetForegroundWindow(dialog);
    WaitFor([&] { return GetForegroundWindow() == dialog; });
    const std::vector<COLORREF> clean = CleanFrameBand(top);
    RECT icon, outer, inner;
    GetWindowRect(GetDlgItem(dialog, IDC_ME_PICKER), &icon);
    GetWindowRect(top, &outer);
    GetWindowRect(trackbar, &inner);
    const POINT start = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    seen.captured = PressOnPicker(dialog, uiThread, start, seen.press);
    // Over the top-level window below its control, then onto the control.
    // Down beside the window first, so that the way in passes over nothing of its but itself.
    const POINT beside = {start.x, outer.bottom - 25};
    DragTo(start, beside);
    const POINT below = {(outer.left + outer.right) / 2, outer.bottom - 25};
    const POINT onControl = {(inner.left + inner.right) / 2, (inner.top + inner.bottom) / 2};
    DragTo(beside, below);
    seen.frameShown =
        WaitFor([&] { return input::CursorStaysAt(below) && dialogdrive::FrameBand(top, 4) != clean; });
    DragTo(below, onControl);
    seen.frameMoved =
        WaitFor([&] { return input::CursorStaysAt(onControl) && dialogdrive::FrameBand(top, 4) == clean; });
    input::Mouse(MOUSEEVENTF_LEFTUP);
    WaitFor([&] { return ItemText(dialog, IDC_ME_CLASS) == L"msctls_trackbar32"; });
    seen.frameGone = dialogdrive::FrameBand(top, 4) == clean;
    seen.title = ItemText(dialog, IDC_ME_TITLE);
    seen.file = ItemText(dialog, IDC_ME_FILE);
    seen.cls = ItemText(dialog, IDC_ME_CLASS);
    seen.id = ItemText(dialog, IDC_ME_ID);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  host.Click(IDC_PW_NEW);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_TRUE(seen.captured) << seen.press.c_str();
  EXPECT_TRUE(seen.frameShown) << "the frame is drawn while searching";
  EXPECT_TRUE(seen.frameMoved) << "the frame leaves a window when the search moves on";
  EXPECT_TRUE(seen.frameGone) << "no frame is left on the screen";
  EXPECT_EQ(seen.title, topTitle);
  EXPECT_EQ(seen.file, L"qorv_snap.exe");
  EXPECT_EQ(seen.cls, L"msctls_trackbar32");
  EXPECT_EQ(seen.id, std::to_wstring(GetDlgCtrlID(trackbar)));
  const auto rows = ListTexts(host.Item(IDC_PW_LIST), 4);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1], (std::vector<std::wstring>{topTitle, L"qorv_snap.exe", L"msctls_trackbar32",
                                                std::to_wstring(GetDlgCtrlID(trackbar))}));
}

// A program whose path is longer than 128 characters still gives its own file name: the module path
// is asked for with a whole MAX_PATH buffer, so its file-name part is never cut.
TEST_F(PerWindowPageTest, PickedProgramWithALongPathGivesItsFileName) {
  std::wstring dir = harness::NewRunDir();
  for (wchar_t c : {L'd', L'e'}) {
    dir += L"\\" + std::wstring(60, c);
    CreateDirectoryW(dir.c_str(), nullptr);
  }
  const std::wstring exe = dir + L"\\qorv_snap.exe";
  ASSERT_TRUE(CopyFileW((harness::ExeDir() + L"\\qorv_snap.exe").c_str(), exe.c_str(), FALSE));
  ASSERT_GT(exe.size(), 140u);
  const std::wstring prefix = L"qlong" + std::to_wstring(GetCurrentProcessId());
  harness::Process app(exe, prefix + L" a=plain@600,520,300,150");
  HWND top = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (top = FindWindowW(snapapp::kClass, (prefix + L":a").c_str())) != nullptr; }));

  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  const DWORD uiThread = GetCurrentThreadId();
  std::wstring file;
  std::wstring cls;
  std::wstring press;
  bool captured = false;
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
    SetForegroundWindow(dialog);
    WaitFor([&] { return GetForegroundWindow() == dialog; });
    RECT icon, outer;
    GetWindowRect(GetDlgItem(dialog, IDC_ME_PICKER), &icon);
    GetWindowRect(top, &outer);
    const POINT start = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    captured = PressOnPicker(dialog, uiThread, start, press);
    const POINT beside = {start.x, (outer.top + outer.bottom) / 2};
    DragTo(start, beside);
    DragTo(beside, {(outer.left + outer.right) / 2, (outer.top + outer.bottom) / 2});
    input::Mouse(MOUSEEVENTF_LEFTUP);
    WaitFor([&] { return ItemText(dialog, IDC_ME_CLASS) == snapapp::kClass; });
    file = ItemText(dialog, IDC_ME_FILE);
    cls = ItemText(dialog, IDC_ME_CLASS);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  host.Click(IDC_PW_NEW);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_TRUE(captured) << press.c_str();
  EXPECT_EQ(cls, snapapp::kClass);
  EXPECT_EQ(file, L"qorv_snap.exe");
  PostMessageW(top, snapapp::kCmdQuit, 0, 0);
  if (!app.WaitExit(10000)) app.Kill();
}

// Cancelling the editor in the middle of a drag takes the frame off the screen at once.
TEST_F(PerWindowPageTest, CancelDuringADragLeavesNoFrame) {
  snapdrive::SnapApp app({L"a=plain@600,520,400,160"});
  ASSERT_TRUE(app.AllFound());
  HWND top = app.Window(0);
  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  const int rows = ListView_GetItemCount(host.Item(IDC_PW_LIST));
  bool shown = false;
  bool gone = false;
  bool captured = false;
  std::wstring press;
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
    SetForegroundWindow(dialog);
    WaitFor([&] { return GetForegroundWindow() == dialog; });
    const std::vector<COLORREF> clean = CleanFrameBand(top);
    RECT icon, outer;
    GetWindowRect(GetDlgItem(dialog, IDC_ME_PICKER), &icon);
    GetWindowRect(top, &outer);
    const POINT start = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    captured = PressOnPicker(dialog, GetWindowThreadProcessId(dialog, nullptr), start, press);
    const POINT beside = {start.x, outer.bottom - 25};
    DragTo(start, beside);
    const POINT below = {(outer.left + outer.right) / 2, outer.bottom - 25};
    DragTo(beside, below);
    shown = WaitFor([&] { return input::CursorStaysAt(below) && dialogdrive::FrameBand(top, 4) != clean; });
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // the button is still held
    // The frame is inverted back and every window repaints (a paint under an inverted frame would
    // otherwise leave its inversion behind).
    gone = WaitFor([&] { return dialogdrive::FrameBand(top, 4) == clean; });
    input::Mouse(MOUSEEVENTF_LEFTUP);
  });
  host.Click(IDC_PW_NEW);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_TRUE(captured) << press.c_str();
  EXPECT_TRUE(shown) << "the frame is drawn while searching";
  EXPECT_TRUE(gone) << "Cancel took the frame away";
  EXPECT_EQ(ListView_GetItemCount(host.Item(IDC_PW_LIST)), rows) << "a cancelled new entry is dropped";
}

// Dragged onto an edit control that lies under another program's group box, the picker takes the
// edit, not the box; released over its own icon it fills from the window picked before. The box is
// asked for its hit test with a 20 ms time-out: on a loaded machine its program may answer later,
// and then the search documentedly ends at the box. Both outcomes are accepted, nothing else.
TEST_F(PerWindowPageTest, PickerTakesTheControlUnderAGroupBoxAndIgnoresItsOwnIcon) {
  snapdrive::SnapApp app({L"a=group@600,480,400,200"});
  ASSERT_TRUE(app.AllFound());
  HWND top = app.Window(0);
  HWND edit = GetDlgItem(top, snapapp::kGroupedEditId);
  ASSERT_NE(edit, nullptr);
  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  std::wstring press, underEdit, cls, id;
  bool captured = false;
  bool released = false;
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
    const DWORD uiThread = GetWindowThreadProcessId(dialog, nullptr);
    SendMessageW(GetDlgItem(dialog, IDC_ME_BY_ID), BM_SETCHECK, BST_CHECKED, 0);
    SetForegroundWindow(dialog);
    WaitFor([&] { return GetForegroundWindow() == dialog; });
    RECT icon, outer, inner;
    GetWindowRect(GetDlgItem(dialog, IDC_ME_PICKER), &icon);
    GetWindowRect(top, &outer);
    GetWindowRect(edit, &inner);
    const POINT start = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    const POINT onEdit = {(inner.left + inner.right) / 2, (inner.top + inner.bottom) / 2};
    wchar_t under[64] = {};
    GetClassNameW(WindowFromPoint(onEdit), under, 64);
    underEdit = under;
    captured = PressOnPicker(dialog, uiThread, start, press);
    const POINT beside = {start.x, outer.bottom - 25};
    DragTo(start, beside);
    DragTo(beside, {(outer.left + outer.right) / 2, outer.bottom - 25});
    DragTo({(outer.left + outer.right) / 2, outer.bottom - 25}, onEdit);
    // Back onto the icon in one move, so that no other window is passed on the way.
    input::MoveTo(start.x, start.y);
    WaitFor([&] { return input::CursorStaysAt(start); }, 2000);
    input::Mouse(MOUSEEVENTF_LEFTUP);
    released = WaitFor([&] {
      GUITHREADINFO info = {};
      info.cbSize = sizeof(info);
      return GetGUIThreadInfo(uiThread, &info) && info.hwndCapture == nullptr && !ItemText(dialog, IDC_ME_CLASS).empty();
    });
    cls = ItemText(dialog, IDC_ME_CLASS);
    id = ItemText(dialog, IDC_ME_ID);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  host.Click(IDC_PW_NEW);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_EQ(underEdit, L"Button") << "the group box lies over the edit where the picker is dropped";
  EXPECT_TRUE(captured) << press.c_str();
  EXPECT_TRUE(released);
  if (cls == L"Button") {
    EXPECT_EQ(id, L"0") << "the box, when its program did not answer its hit test in time";
  } else {
    EXPECT_EQ(cls, L"Edit") << "neither the edit nor the box under the picker's last point";
    EXPECT_EQ(id, std::to_wstring(snapapp::kGroupedEditId));
  }
}

// Shift + click on the picker starts the five-second countdown instead of a drag; the window under
// the cursor when it ends fills the editor.
TEST_F(PerWindowPageTest, CountdownPicksTheWindowUnderTheCursorWhenItEnds) {
  snapdrive::SnapApp app({L"a=trackbar@600,520,400,160"});
  ASSERT_TRUE(app.AllFound());
  HWND top = app.Window(0);
  HWND trackbar = FindWindowExW(top, nullptr, L"msctls_trackbar32", nullptr);
  ASSERT_NE(trackbar, nullptr);
  PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
  std::wstring seconds, cls;
  bool overIcon = false;
  bool noCapture = false;
  bool ended = false;
  DialogAnswerer editor(kEditorCaption, [&](HWND dialog) {
    const DWORD uiThread = GetWindowThreadProcessId(dialog, nullptr);
    SetForegroundWindow(dialog);
    WaitFor([&] { return GetForegroundWindow() == dialog; });
    RECT icon, inner;
    GetWindowRect(GetDlgItem(dialog, IDC_ME_PICKER), &icon);
    GetWindowRect(trackbar, &inner);
    const POINT start = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    const POINT onControl = {(inner.left + inner.right) / 2, (inner.top + inner.bottom) / 2};
    input::MoveTo(start.x, start.y);
    overIcon = WaitFor([&] { return input::CursorStaysAt(start) && WindowFromPoint(start) == GetDlgItem(dialog, IDC_ME_PICKER); });
    input::Key(VK_SHIFT, true);
    WaitFor([] { return GetAsyncKeyState(VK_SHIFT) < 0; });
    input::Mouse(MOUSEEVENTF_LEFTDOWN);
    input::Mouse(MOUSEEVENTF_LEFTUP);
    // The countdown shows its seconds; the witness that the click arrived.
    WaitFor([&] { return !ItemText(dialog, IDC_ME_COUNTDOWN).empty(); });
    seconds = ItemText(dialog, IDC_ME_COUNTDOWN);
    input::Key(VK_SHIFT, false);
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    noCapture = GetGUIThreadInfo(uiThread, &info) && info.hwndCapture == nullptr;
    DragTo(start, onControl, false);
    ended = WaitFor([&] { return ItemText(dialog, IDC_ME_COUNTDOWN).empty() && !ItemText(dialog, IDC_ME_CLASS).empty(); },
                    15000);
    cls = ItemText(dialog, IDC_ME_CLASS);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  host.Click(IDC_PW_NEW);
  ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
  EXPECT_TRUE(overIcon);
  EXPECT_TRUE(seconds.size() == 1 && seconds[0] >= L'1' && seconds[0] <= L'5')
      << "countdown shows " << std::string(seconds.begin(), seconds.end());
  EXPECT_TRUE(noCapture) << "the countdown holds no mouse capture";
  EXPECT_TRUE(ended);
  EXPECT_EQ(cls, L"msctls_trackbar32");
}

// The real program opened on the per-window page and closed with OK: the table is written and
// announced between the beginning and the end of editing.
TEST_F(PerWindowPageTest, ProgramAnnouncesTheTableBetweenBeginAndEnd) {
  pelisk::PeliskRun run;
  ASSERT_TRUE(run.Copied());
  WriteFileBytes(run.Dir() + L"\\MapInit.ini", init_);
  pelisk::MainStandIn main;
  ASSERT_TRUE(run.Start(L"3"));
  HWND frame = run.WaitWindow(L"Qorv 1.6 設定");
  ASSERT_NE(frame, nullptr);
  HWND page = FindWindowExW(frame, nullptr, L"#32770", nullptr);
  ASSERT_NE(page, nullptr);
  ASSERT_NE(GetDlgItem(page, IDC_PW_LIST), nullptr) << "the per-window page is shown";
  PostMessageW(frame, WM_COMMAND, IDOK, 0);
  DWORD code = 0;
  ASSERT_TRUE(run.WaitExit(15000, &code));
  EXPECT_EQ(code, 1u);
  ASSERT_TRUE(WaitFor([&] { return main.received.size() >= 3; }));
  std::vector<WPARAM> codes;
  for (const auto& notice : main.received) {
    codes.push_back(notice.first);
    EXPECT_EQ(notice.second, main.received[0].second) << "every notice carries the program's thread id";
  }
  EXPECT_EQ(codes, (std::vector<WPARAM>{1, 4, 2}));
  const std::string written = ReadFileBytes(run.Dir() + L"\\MapFlag.ini");
  EXPECT_EQ(written, qorv::MapFormat(qorv::MapParse(init_.data(), init_.size())));
}

// The wheel application's log of what its windows received.
class WheelLog {
 public:
  WheelLog() : process_(harness::ExeDir() + L"\\qorv_wheel.exe", L"") {
    wchar_t name[64];
    wheelapp::LogName(name, 64, process_.Id());
    WaitFor([&] { return (mapping_ = OpenFileMappingW(FILE_MAP_READ, FALSE, name)) != nullptr; });
    if (mapping_ != nullptr) {
      log_ = static_cast<const wheelapp::Log*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(wheelapp::Log)));
    }
    WaitFor([&] { return Ready(); });
  }
  ~WheelLog() {
    if (Ready()) PostMessageW(Window(), wheelapp::kCmdQuit, 0, 0);
    if (!process_.WaitExit(10000)) process_.Kill();
    if (log_ != nullptr) UnmapViewOfFile(log_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  bool Ready() const { return log_ != nullptr && log_->ready != 0; }
  HWND Window() const { return reinterpret_cast<HWND>(log_->windows[wheelapp::kScroll]); }
  LONG Mark() const { return log_->count; }
  size_t Count(UINT msg, LONG from) const {
    size_t n = 0;
    const LONG count = log_->count < static_cast<LONG>(wheelapp::kMaxEntries) ? log_->count : wheelapp::kMaxEntries;
    for (LONG i = from; i < count; ++i) {
      if (log_->entries[i].kind == wheelapp::kScroll && log_->entries[i].msg == msg) ++n;
    }
    return n;
  }

 private:
  harness::Process process_;
  HANDLE mapping_ = nullptr;
  const wheelapp::Log* log_ = nullptr;
};

// One notch over the wheel application's scroll window; the log mark from before it.
LONG NotchOver(const WheelLog& app) {
  RECT r;
  GetClientRect(app.Window(), &r);
  POINT p = {r.right * 3 / 4, r.bottom / 4};
  ClientToScreen(app.Window(), &p);
  WaitFor([&] { return WindowFromPoint(p) == app.Window(); }, 5000);
  input::MoveTo(p.x, p.y);
  WaitFor(
      [&] {
        POINT now;
        GetCursorPos(&now);
        return now.x == p.x && now.y == p.y;
      },
      3000);
  const LONG mark = app.Mark();
  input::Wheel(-120);
  return mark;
}

// With the real main program running, a row saved on the page turns the wheel over that program's
// window into scrolling, which the global settings do not.
TEST_F(PerWindowPageTest, SavedRowChangesTheWheelOfTheRunningMainProgram) {
  const std::wstring ini = harness::ExeDir() + L"\\Qorv.ini";
  const std::string iniBefore = ReadFileBytes(ini);
  const bool hadIni = dialogdrive::FileExistsAt(ini);
  WriteFileBytes(ini, "[FLAGS]\r\nWheelFlag=0x00000001\r\n");  // forward only: no conversion
  struct Restore {
    std::wstring path;
    std::string bytes;
    bool existed;
    ~Restore() {
      if (existed) {
        dialogdrive::WriteFileBytes(path, bytes);
      } else {
        DeleteFileW(path.c_str());
      }
    }
  } restore{ini, iniBefore, hadIni};

  harness::Process qorv(harness::ExeDir() + L"\\qorv.exe", L"", harness::ExeDir());
  ASSERT_TRUE(WaitFor([&] { return FindWindowW(L"QorvMainWnd", L"Qorv") != nullptr; }));
  WheelLog app;
  ASSERT_TRUE(app.Ready());

  // The global word leaves the wheel alone: it arrives, nothing scrolls. The first turns of a fresh
  // desktop session can get lost before it has settled: turn until one arrives.
  LONG mark = 0;
  bool arrived = false;
  for (int attempt = 0; attempt < 5 && !arrived; ++attempt) {
    mark = NotchOver(app);
    arrived = WaitFor([&] { return app.Count(WM_MOUSEWHEEL, mark) >= 1; }, 2000);
  }
  ASSERT_TRUE(arrived) << "no wheel turn reaches the target";
  EXPECT_EQ(app.Count(WM_VSCROLL, mark), 0u);

  {
    // The page is closed again before the next notches, so that it covers nothing.
    PageHost host(IDD_PERWINDOW, qorv::PerWindowPageProc);
    DialogAnswerer editor(kEditorCaption, [](HWND dialog) {
      SetDlgItemTextW(dialog, IDC_ME_FILE, L"qorv_wheel.exe");
      CheckDlgButton(dialog, IDC_ME_BY_CLASS, BST_UNCHECKED);
      SendMessageW(GetDlgItem(dialog, IDC_ME_VCONVERT), BM_CLICK, 0, 0);  // picks "3 行"
      PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    host.Click(IDC_PW_NEW);
    ASSERT_TRUE(WaitFor([&] { return editor.Answered() == 1; }, dialogdrive::kAnswerWaitMs));
    host.Click(IDC_PW_APPLY);
  }
  const auto rows = qorv::MapParse(FlagBytes().data(), FlagBytes().size());
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back().FileName, "qorv_wheel.exe");
  EXPECT_EQ(rows.back().EntryWheelFlag, 0x00030011u);

  // The main program takes the table over when it has seen the notice; each notch is a witness.
  bool scrolled = false;
  for (int notch = 0; notch < 10 && !scrolled; ++notch) {
    mark = NotchOver(app);
    WaitFor([&] { return app.Count(WM_VSCROLL, mark) + app.Count(WM_MOUSEWHEEL, mark) >= 1; }, 3000);
    scrolled = WaitFor([&] { return app.Count(WM_VSCROLL, mark) >= 4; }, 500);
  }
  EXPECT_TRUE(scrolled) << "three lines and the end of scrolling";

  harness::Process quit(harness::ExeDir() + L"\\qorv.exe", L"/quit", harness::ExeDir());
  EXPECT_TRUE(qorv.WaitExit(10000));
}

}  // namespace
