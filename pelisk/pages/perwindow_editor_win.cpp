// Per-window entry editor (dialog 109) with its window picker: drag the icon onto a window, or start a
// five-second countdown with Shift, and the editor fills in what it finds about that window.
#include <windows.h>
// The common dialogs header needs the types of <windows.h>.
#include <commdlg.h>

#include <string>

#include "common/flags.h"
#include "common/map_table.h"
#include "common/ui_language_win.h"
#include "common/winsearch_win.h"
#include "pelisk/app_win.h"
#include "pelisk/pages/perwindow_page.h"
#include "pelisk/pages/perwindow_win.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");
static_assert(perwindow::kIdTitle == IDC_ME_TITLE && perwindow::kIdUse == IDC_ME_USE &&
                  perwindow::kIdUseWnd == IDC_ME_USE_WINDOW && perwindow::kIdMatchFile == IDC_ME_BY_FILE &&
                  perwindow::kIdMatchClass == IDC_ME_BY_CLASS && perwindow::kIdMatchId == IDC_ME_BY_ID &&
                  perwindow::kIdFileName == IDC_ME_FILE && perwindow::kIdClassName == IDC_ME_CLASS &&
                  perwindow::kIdWndId == IDC_ME_ID && perwindow::kIdVertCount == IDC_ME_VAMOUNT &&
                  perwindow::kIdHorzCount == IDC_ME_HAMOUNT && perwindow::kIdSearchBar == IDC_ME_SEARCH &&
                  perwindow::kIdKeepNotch == IDC_ME_ACTIVATE_WHEEL && perwindow::kIdCursorKeys == IDC_ME_KEYS,
              "editor ids agree with the resources");

constexpr UINT_PTR kCountdownTimer = 1;
constexpr int kFrameWidth = 4;
constexpr int kTextChars = 128;  // texts of an entry, with their terminating NUL

struct EntryEditor {
  MapListRow* row = nullptr;
  ModuleNameQuery query = nullptr;
  HWND picked = nullptr;       // the last window found
  HWND highlighted = nullptr;  // the window whose frame is inverted now
  int highlightSurface = 0;
  bool dragging = false;
  int countdown = 0;  // 0: not running
  HICON iconRest = nullptr;
  HICON iconSearch = nullptr;
  HCURSOR dragCursor = nullptr;
  wchar_t searchText[32] = {};  // resource text of 1127
};

EntryEditor* EditorOf(HWND dialog) { return reinterpret_cast<EntryEditor*>(GetWindowLongPtrW(dialog, GWLP_USERDATA)); }

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void Check(HWND dialog, int id, bool on) { CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }
bool ShiftHeld() { return GetKeyState(VK_SHIFT) < 0; }

std::wstring StringText(UINT id) {
  wchar_t text[256];
  const int length = LoadText(id, text, 256);
  return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[kTextChars];
  const UINT length = GetDlgItemTextW(dialog, id, text, kTextChars);
  return std::wstring(text, length);
}

std::u16string ToU16(const wchar_t* text, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

const wchar_t* FromU16(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

uint32_t CheckedWheelBits(HWND dialog) {
  uint32_t bits = 0;
  for (const perwindow::BoxBit& box : perwindow::kWheelBoxes) {
    if (Checked(dialog, box.control)) bits |= box.bit;
  }
  return bits;
}

void ShowPickerIcon(HWND dialog, HICON icon) {
  SendDlgItemMessageW(dialog, IDC_ME_PICKER, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

// Has the band under the frame repaint itself, the window's own frame and any child lying there: a
// window that painted while the frame was on it has already drawn over the inversion, and the
// second inversion would leave a frame behind. Only the band is asked for, so that leaving the
// desktop (whose frame runs round the screen) does not repaint every window.
void RepaintFrameBand(HWND window) {
  RECT r;
  if (!IsWindow(window) || !GetWindowRect(window, &r)) return;
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  if (shape == nullptr) return;
  HRGN band = nullptr;
  if (GetWindowRgn(window, shape) < SIMPLEREGION) {
    // The update region is given in client coordinates; the frame lies outside the client area.
    POINT client = {0, 0};
    ClientToScreen(window, &client);
    OffsetRect(&r, -client.x, -client.y);
    band = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    HRGN inner = CreateRectRgn(r.left + kFrameWidth, r.top + kFrameWidth, r.right - kFrameWidth, r.bottom - kFrameWidth);
    if (band != nullptr && inner != nullptr) CombineRgn(band, band, inner, RGN_DIFF);
    if (inner != nullptr) DeleteObject(inner);
  }
  // A shaped window's frame follows its region: the whole window repaints (band stays null).
  RedrawWindow(window, nullptr, band, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
  if (band != nullptr) DeleteObject(band);
  DeleteObject(shape);
}

// Inverts the frame back and has the band under it repaint as well (RepaintFrameBand says why).
void Unhighlight(EntryEditor& editor) {
  if (editor.highlighted == nullptr) return;
  HWND window = editor.highlighted;
  HighlightWindowFrame(window, kFrameWidth, editor.highlightSurface);
  editor.highlighted = nullptr;
  RepaintFrameBand(window);
}

void Highlight(EntryEditor& editor, HWND window) {
  if (window == nullptr) return;
  editor.highlightSurface = HighlightSurface(window);
  HighlightWindowFrame(window, kFrameWidth, editor.highlightSurface);
  editor.highlighted = window;
}

// Moves the highlight to target, which becomes the picked window.
void Follow(EntryEditor& editor, HWND dialog, HWND target) {
  if (target == nullptr || target == GetDlgItem(dialog, IDC_ME_PICKER) || target == editor.highlighted) return;
  Unhighlight(editor);
  Highlight(editor, target);
  editor.picked = target;
}

// The program path of a window of a process of the other bitness, asked of the system: the library's
// query hook would run out of context in this process for it, where it passes the call on. -1 when
// the window's process is of this bitness (or that cannot be told): the library answers then.
int OtherBitnessModulePath(HWND window, wchar_t* buffer, DWORD size) {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return -1;
  const auto isWow64 =
      reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  const auto imageName = reinterpret_cast<QueryImageNameFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "QueryFullProcessImageNameW")));
  DWORD pid = 0;
  if (isWow64 == nullptr || imageName == nullptr || GetWindowThreadProcessId(window, &pid) == 0) return -1;
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (process == nullptr) return -1;
  BOOL mine = FALSE;
  BOOL theirs = FALSE;
  int result = -1;
  if (isWow64(GetCurrentProcess(), &mine) && isWow64(process, &theirs) && mine != theirs) {
    DWORD length = size;
    result = imageName(process, 0, buffer, &length) ? static_cast<int>(length) : 0;
  }
  CloseHandle(process);
  return result;
}

void FillFromWindow(HWND dialog, EntryEditor& editor, HWND window) {
  if (window == nullptr || !IsWindow(window)) return;
  perwindow::PickedWindow facts;
  wchar_t text[MAX_PATH];
  int length = GetWindowTextW(TopLevelOf(window), text, kTextChars);
  facts.topTitle = ToU16(text, length > 0 ? static_cast<size_t>(length) : 0);
  if (editor.query != nullptr && Checked(dialog, IDC_ME_BY_FILE)) {
    facts.moduleQueryBound = true;
    // A whole MAX_PATH buffer: a cut path would give a wrong file-name part.
    length = OtherBitnessModulePath(window, text, MAX_PATH);
    if (length < 0) length = editor.query(window, text, MAX_PATH);
    if (length > 0 && length < MAX_PATH) facts.modulePath = ToU16(text, static_cast<size_t>(length));
  }
  length = GetClassNameW(window, text, kTextChars);
  facts.className = ToU16(text, length > 0 ? static_cast<size_t>(length) : 0);
  facts.isChild = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
  facts.controlId = facts.isChild ? static_cast<int32_t>(GetDlgCtrlID(window)) : 0;

  perwindow::FillContext context;
  context.newEntry = (editor.row->EntryFlag & entry_flag::kNewEntry) != 0;
  context.titleLength = static_cast<size_t>(GetWindowTextLengthW(GetDlgItem(dialog, IDC_ME_TITLE)));
  context.matchFile = Checked(dialog, IDC_ME_BY_FILE);
  context.matchClass = Checked(dialog, IDC_ME_BY_CLASS);
  context.matchId = Checked(dialog, IDC_ME_BY_ID);
  context.fullPath = ShiftHeld();

  const perwindow::FillResult result = perwindow::FillFromWindow(facts, context);
  if (result.setTitle) SetDlgItemTextW(dialog, IDC_ME_TITLE, FromU16(result.title));
  if (result.fileName != perwindow::FieldChange::kKeep) SetDlgItemTextW(dialog, IDC_ME_FILE, FromU16(result.fileText));
  if (result.className != perwindow::FieldChange::kKeep) {
    SetDlgItemTextW(dialog, IDC_ME_CLASS, FromU16(result.classText));
  }
  if (result.wndId == perwindow::FieldChange::kSet)
    SetDlgItemInt(dialog, IDC_ME_ID, static_cast<UINT>(result.wndIdValue), TRUE);
  if (result.wndId == perwindow::FieldChange::kClear) SetDlgItemTextW(dialog, IDC_ME_ID, L"");
}

// Every window repaints, frames included: a frame drawn over a window that painted meanwhile would
// otherwise stay inverted, and the frame lies on the windows' borders, outside their client areas.
void RepaintScreen() { RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN); }

// Ends a drag or a countdown and takes the frame off the screen; nothing is filled in.
void StopPicking(HWND dialog, EntryEditor& editor) {
  if (editor.countdown != 0) {
    KillTimer(dialog, kCountdownTimer);
    editor.countdown = 0;
    SetDlgItemTextW(dialog, IDC_ME_COUNTDOWN, L"");
  }
  const bool wasDragging = editor.dragging;
  editor.dragging = false;  // before ReleaseCapture, whose WM_CAPTURECHANGED comes back here
  if (wasDragging) {
    ReleaseCapture();
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }
  const bool hadFrame = editor.highlighted != nullptr;
  Unhighlight(editor);
  if (hadFrame || wasDragging) {
    RepaintScreen();
    ShowPickerIcon(dialog, editor.iconRest);
  }
}

void StartPicker(HWND dialog, EntryEditor& editor) {
  if (editor.countdown != 0) {
    editor.countdown = perwindow::kCountdownLastTick;
    return;
  }
  if (editor.dragging) return;
  if (!Checked(dialog, IDC_ME_BY_FILE) && !Checked(dialog, IDC_ME_BY_CLASS) && !Checked(dialog, IDC_ME_BY_ID)) {
    MessageBeep(0);
    return;
  }
  if (ShiftHeld()) {
    editor.countdown = perwindow::kCountdownStart;
    SetTimer(dialog, kCountdownTimer, perwindow::kCountdownTickMs, nullptr);
  } else {
    SetCapture(dialog);
    if (editor.picked != nullptr && IsWindow(editor.picked)) Highlight(editor, editor.picked);
    editor.dragging = true;
    SetCursor(editor.dragCursor);
  }
  ShowPickerIcon(dialog, editor.iconSearch);
}

void OnCountdownTick(HWND dialog, EntryEditor& editor) {
  if (editor.countdown == 0) return;
  const perwindow::CountdownStep step = perwindow::CountdownTick(editor.countdown);
  if (step.finished) {
    StopPicking(dialog, editor);
    RepaintScreen();
    ShowPickerIcon(dialog, editor.iconRest);
    FillFromWindow(dialog, editor, editor.picked);
    return;
  }
  editor.countdown = step.count;
  SetDlgItemInt(dialog, IDC_ME_COUNTDOWN, static_cast<UINT>(step.seconds), FALSE);
  POINT pt;
  if (GetCursorPos(&pt)) Follow(editor, dialog, WindowAtPoint(pt));
}

void OnDragMove(HWND dialog, EntryEditor& editor, LPARAM lp) {
  POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ClientToScreen(dialog, &pt);
  HWND target = ShiftHeld() ? WindowFromPoint(pt) : WindowAtPoint(pt);
  if (target == GetDlgItem(dialog, IDC_ME_PICKER)) return;
  if (GetKeyState(VK_CONTROL) < 0) FillFromWindow(dialog, editor, editor.picked);
  Follow(editor, dialog, target);
}

void SelectAmounts(HWND dialog, uint32_t wheelFlag) {
  const int vertItems = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ME_VAMOUNT, CB_GETCOUNT, 0, 0));
  const int horzItems = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ME_HAMOUNT, CB_GETCOUNT, 0, 0));
  const uint32_t vert = Field(wheelFlag, wheel_flag::kVertCountMask, wheel_flag::kVertCountShift);
  const uint32_t horz = Field(wheelFlag, wheel_flag::kHorzCountMask, wheel_flag::kHorzCountShift);
  SendDlgItemMessageW(dialog, IDC_ME_VAMOUNT, CB_SETCURSEL,
                      static_cast<WPARAM>(perwindow::AmountSelection(vert, vertItems)), 0);
  SendDlgItemMessageW(dialog, IDC_ME_HAMOUNT, CB_SETCURSEL,
                      static_cast<WPARAM>(perwindow::AmountSelection(horz, horzItems)), 0);
}

void InitEditor(HWND dialog, EntryEditor& editor) {
  const MapListRow& row = *editor.row;
  for (int id : {IDC_ME_TITLE, IDC_ME_FILE, IDC_ME_CLASS}) SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, 63, 0);
  FillComboFromString(GetDlgItem(dialog, IDC_ME_VAMOUNT), IDS_VERTICAL_AMOUNTS);
  FillComboFromString(GetDlgItem(dialog, IDC_ME_HAMOUNT), IDS_HORIZONTAL_AMOUNTS);
  SendDlgItemMessageW(dialog, IDC_ME_VAMOUNT, CB_SETCURSEL, 0, 0);
  SendDlgItemMessageW(dialog, IDC_ME_HAMOUNT, CB_SETCURSEL, 0, 0);
  editor.iconRest = LoadIconW(g_instance, MAKEINTRESOURCEW(IDI_PICKER));
  editor.iconSearch = LoadIconW(g_instance, MAKEINTRESOURCEW(IDI_PICKER_SEARCH));
  editor.dragCursor = LoadCursorW(g_instance, MAKEINTRESOURCEW(IDC_PICKER_CURSOR));
  ShowPickerIcon(dialog, editor.iconRest);
  GetDlgItemTextW(dialog, IDC_ME_SEARCH, editor.searchText, 32);
  CenterOverParent(dialog);

  SetDlgItemTextW(dialog, IDC_ME_TITLE, row.Title.c_str());
  SetDlgItemTextW(dialog, IDC_ME_FILE, row.FileName.c_str());
  SetDlgItemTextW(dialog, IDC_ME_CLASS, row.ClassName.c_str());
  if ((row.EntryFlag & entry_flag::kMatchId) != 0 || row.WndId != 0) {
    SetDlgItemInt(dialog, IDC_ME_ID, static_cast<UINT>(row.WndId), TRUE);
  }
  SelectAmounts(dialog, row.EntryWheelFlag);

  Check(dialog, IDC_ME_USE, (row.EntryFlag & entry_flag::kUseWheel) != 0);
  Check(dialog, IDC_ME_BY_ID, (row.EntryFlag & entry_flag::kMatchId) != 0);
  Check(dialog, IDC_ME_BY_FILE, (row.EntryFlag & entry_flag::kMatchFile) != 0);
  Check(dialog, IDC_ME_BY_CLASS, (row.EntryFlag & entry_flag::kMatchClass) != 0);
  if ((row.EntryFlag & entry_flag::kUseWnd) != 0) {
    Check(dialog, IDC_ME_USE_WINDOW, true);
    ShowWindow(GetDlgItem(dialog, IDC_ME_USE_WINDOW), SW_SHOWNA);
  }

  const uint32_t wheel = row.EntryWheelFlag;
  for (const perwindow::BoxBit& box : perwindow::kWheelBoxes) Check(dialog, box.control, (wheel & box.bit) != 0);
  if ((wheel & wheel_flag::kMdiActivate) != 0) ShowWindow(GetDlgItem(dialog, IDC_ME_ACTIVATE_WHEEL), SW_SHOWNA);
  EnableWindow(GetDlgItem(dialog, IDC_ME_TRANSPARENT), perwindow::TransparentEnabled(wheel));
  EnableWindow(GetDlgItem(dialog, IDC_ME_SEARCH), perwindow::SearchBarEnabled(wheel));
  if ((wheel & wheel_flag::kCursorKeys) != 0)
    SetDlgItemTextW(dialog, IDC_ME_SEARCH, StringText(IDS_LEFT_RIGHT_KEYS).c_str());
}

void AcceptEditor(HWND dialog, EntryEditor& editor) {
  MapListRow& row = *editor.row;
  perwindow::EditorChoice choice;
  choice.use = Checked(dialog, IDC_ME_USE);
  choice.useWnd = Checked(dialog, IDC_ME_USE_WINDOW);
  choice.matchFile = Checked(dialog, IDC_ME_BY_FILE);
  choice.matchClass = Checked(dialog, IDC_ME_BY_CLASS);
  choice.matchId = Checked(dialog, IDC_ME_BY_ID);
  choice.wheelBits = CheckedWheelBits(dialog);
  choice.vertSelection = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ME_VAMOUNT, CB_GETCURSEL, 0, 0));
  choice.horzSelection = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ME_HAMOUNT, CB_GETCURSEL, 0, 0));
  choice.vertItems = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ME_VAMOUNT, CB_GETCOUNT, 0, 0));
  choice.horzItems = static_cast<int>(SendDlgItemMessageW(dialog, IDC_ME_HAMOUNT, CB_GETCOUNT, 0, 0));
  row.EntryFlag = perwindow::EditorEntryFlag(choice);
  row.EntryWheelFlag = perwindow::EditorWheelFlag(row.EntryWheelFlag, choice);
  row.Title = perwindow::StoredTitle(ItemText(dialog, IDC_ME_TITLE), StringText(IDS_NO_TITLE));
  row.FileName = ItemText(dialog, IDC_ME_FILE);
  row.ClassName = ItemText(dialog, IDC_ME_CLASS);
  BOOL number = FALSE;
  const int id = static_cast<int>(GetDlgItemInt(dialog, IDC_ME_ID, &number, TRUE));
  row.WndId = number ? id : 0;
}

void BrowseProgram(HWND dialog) {
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW open = {};
  open.lStructSize = sizeof(open);
  open.hwndOwner = dialog;
  open.lpstrFilter = L"*.exe\0*.exe\0all\0*.*\0";
  open.lpstrFile = file;
  open.nMaxFile = MAX_PATH;
  open.lpstrInitialDir = L"C:\\";
  open.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (!GetOpenFileNameW(&open)) return;
  const std::wstring path(file);
  SetDlgItemTextW(dialog, IDC_ME_FILE, (ShiftHeld() ? path : perwindow::FileNamePart(path)).c_str());
}

void UpdateSearchBox(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, IDC_ME_SEARCH), perwindow::SearchBarEnabled(CheckedWheelBits(dialog)));
}

void OnClick(HWND dialog, EntryEditor& editor, int id) {
  switch (id) {
    case IDC_ME_FORWARD:
      EnableWindow(GetDlgItem(dialog, IDC_ME_TRANSPARENT), Checked(dialog, IDC_ME_FORWARD));
      return;
    case IDC_ME_KEYS:
      SetDlgItemTextW(dialog, IDC_ME_SEARCH,
                      Checked(dialog, IDC_ME_KEYS) ? StringText(IDS_LEFT_RIGHT_KEYS).c_str() : editor.searchText);
      UpdateSearchBox(dialog);
      return;
    case IDC_ME_VCONVERT:
    case IDC_ME_VBAR:
    case IDC_ME_HCONVERT:
    case IDC_ME_HBAR: {
      const bool vertical = id == IDC_ME_VCONVERT || id == IDC_ME_VBAR;
      const int combo = vertical ? IDC_ME_VAMOUNT : IDC_ME_HAMOUNT;
      const bool boxOn = vertical ? Checked(dialog, IDC_ME_VCONVERT) || Checked(dialog, IDC_ME_VBAR)
                                  : Checked(dialog, IDC_ME_HCONVERT) || Checked(dialog, IDC_ME_HBAR);
      // Turning a conversion on with "なし" chosen picks three lines or columns, unless Shift is held.
      if (!ShiftHeld() && boxOn && SendDlgItemMessageW(dialog, combo, CB_GETCURSEL, 0, 0) == 0) {
        SendDlgItemMessageW(dialog, combo, CB_SETCURSEL, 3, 0);
      }
      UpdateSearchBox(dialog);
      return;
    }
    case IDC_ME_BROWSE:
      BrowseProgram(dialog);
      return;
    default:
      return;
  }
}

void OnAmountChanged(HWND dialog, int combo) {
  if (SendDlgItemMessageW(dialog, combo, CB_GETCURSEL, 0, 0) != 0) return;
  if (combo == IDC_ME_VAMOUNT) {
    Check(dialog, IDC_ME_VCONVERT, false);
    Check(dialog, IDC_ME_VBAR, false);
  } else {
    Check(dialog, IDC_ME_HCONVERT, false);
    Check(dialog, IDC_ME_HBAR, false);
  }
  UpdateSearchBox(dialog);
}

INT_PTR CALLBACK EntryEditorProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_INITDIALOG) {
    auto* editor = reinterpret_cast<EntryEditor*>(lp);
    SetWindowLongPtrW(dialog, GWLP_USERDATA, lp);
    InitEditor(dialog, *editor);
    return TRUE;
  }
  EntryEditor* editor = EditorOf(dialog);
  if (editor == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (id == IDOK || id == IDCANCEL) {
        StopPicking(dialog, *editor);
        if (id == IDOK) AcceptEditor(dialog, *editor);
        EndDialog(dialog, id == IDOK ? 1 : 2);
        return TRUE;
      }
      if (id == IDC_ME_PICKER) {
        if (HIWORD(wp) == STN_CLICKED || HIWORD(wp) == STN_DBLCLK) StartPicker(dialog, *editor);
        return TRUE;
      }
      if ((id == IDC_ME_VAMOUNT || id == IDC_ME_HAMOUNT) && HIWORD(wp) == CBN_SELCHANGE) {
        OnAmountChanged(dialog, id);
        return TRUE;
      }
      if (HIWORD(wp) == BN_CLICKED) OnClick(dialog, *editor, id);
      return TRUE;
    }
    case WM_MOUSEMOVE:
      if (editor->dragging) OnDragMove(dialog, *editor, lp);
      return TRUE;
    case WM_SETCURSOR:
      if (!editor->dragging) return FALSE;
      SetCursor(editor->dragCursor);
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_LBUTTONUP:
      if (editor->dragging) {
        StopPicking(dialog, *editor);
        FillFromWindow(dialog, *editor, editor->picked);
      }
      return TRUE;
    case WM_RBUTTONDOWN:
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      // Capture lost to another window counts as a cancelled drag: the frame must not stay behind.
      if (editor->dragging) StopPicking(dialog, *editor);
      return FALSE;
    case WM_TIMER:
      if (wp == kCountdownTimer) OnCountdownTick(dialog, *editor);
      return TRUE;
    case WM_RBUTTONDBLCLK: {
      POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RevealHiddenControl(dialog, pt, 0);
      return TRUE;
    }
    case WM_DESTROY:
      StopPicking(dialog, *editor);
      SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int HighlightSurface(HWND window) {
  const bool child = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
  return !child && g_osMajor >= 6 ? 1 : 0;
}

void HighlightWindowFrame(HWND window, int width, int surface) {
  if (window == nullptr || IsIconic(window)) return;
  RECT rect;
  if (!GetWindowRect(window, &rect) || IsRectEmpty(&rect)) return;
  const bool own = surface == 0 && IsWindowVisible(window);
  HWND target = own ? window : nullptr;
  HDC dc = GetWindowDC(target);
  if (dc == nullptr) return;
  const int oldRop = SetROP2(dc, R2_NOT);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int kind = region != nullptr ? GetWindowRgn(window, region) : ERROR;
  if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
    // The region is in window coordinates; on the screen it moves to the window's place.
    if (!own) OffsetRgn(region, rect.left, rect.top);
    FrameRgn(dc, region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), width, width);
  } else {
    if (own) OffsetRect(&rect, -rect.left, -rect.top);
    HPEN pen = CreatePen(PS_INSIDEFRAME, width, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  if (region != nullptr) DeleteObject(region);
  SetROP2(dc, oldRop);
  // Reading a pixel back waits until the frame is on the screen. The window is asked to repaint right
  // after the frame is taken off again; where drawing reaches the screen later than the order of the
  // calls (Wine sends it to the X server and returns), that repaint could otherwise land first and
  // the inverted frame stay.
  GetPixel(dc, 0, 0);
  ReleaseDC(target, dc);
}

INT_PTR RunEntryEditor(HWND owner, MapListRow& row, ModuleNameQuery query) {
  EntryEditor editor;
  editor.row = &row;
  editor.query = query;
  MapListRow edited = row;
  editor.row = &edited;
  const DLGTEMPLATE* dialogTemplate = UiDialogTemplate(g_instance, IDD_MAP_EDITOR);
  if (dialogTemplate == nullptr) return 2;
  const INT_PTR result =
      DialogBoxIndirectParamW(g_instance, dialogTemplate, owner, EntryEditorProc, reinterpret_cast<LPARAM>(&editor));
  if (result != 1) return 2;
  row = edited;
  return 1;
}

}  // namespace qorv
