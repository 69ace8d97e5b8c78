// Per-window page (dialog 113): the per-window table as a list with check boxes, written to
// "MapFlag.ini" on Apply and on OK. The rows live in the page's vector in list order; the list view
// shows them.
#include <windows.h>
// The common controls header needs the types of <windows.h>.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "common/map_table.h"
#include "pelisk/app_win.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/pages/perwindow_page.h"
#include "pelisk/pages/perwindow_win.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"
#include "settings/file_win.h"

namespace qorv {
namespace {

constexpr int kTextColumns = 3;  // title, file name, class name; then the id column

struct PerWindowPage {
  std::vector<MapListRow> rows;
  HMODULE library = nullptr;
  ModuleNameQuery query = nullptr;
  // "MapFlag.ini" exists but could not be read (locked, too large): the list then shows the initial
  // table, which must not replace the user's file unless the user changes the list.
  bool keepUnreadFile = false;
  bool changed = false;
  bool filling = false;  // the page itself is setting check boxes
};

PerWindowPage* PageOf(HWND page) { return reinterpret_cast<PerWindowPage*>(GetWindowLongPtrW(page, GWLP_USERDATA)); }

std::wstring StringText(UINT id) {
  wchar_t text[256];
  const int length = LoadText(id, text, 256);
  return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

HWND List(HWND page) { return GetDlgItem(page, IDC_PW_LIST); }

void ShowRow(PerWindowPage& state, HWND list, int index, bool insert) {
  const MapListRow& row = state.rows[static_cast<size_t>(index)];
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(row.Title.c_str());
  state.filling = true;
  if (insert) {
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  } else {
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
  const std::wstring id = row.IdText();
  const std::wstring* texts[kTextColumns] = {&row.FileName, &row.ClassName, &id};
  for (int column = 0; column < kTextColumns; ++column) {
    item.iSubItem = column + 1;
    item.pszText = const_cast<wchar_t*>(texts[column]->c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
  ListView_SetCheckState(list, index, row.Checked() ? TRUE : FALSE);
  state.filling = false;
}

void SelectRow(HWND list, int index) {
  if (index < 0) return;
  ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, index, FALSE);
}

int SelectedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED | LVNI_FOCUSED); }

void MarkChanged(PerWindowPage& state, HWND page) {
  state.changed = true;
  EnableWindow(GetDlgItem(page, IDC_PW_APPLY), TRUE);
}

void BindModuleQuery(PerWindowPage& state) {
  if (g_platformId < 2) return;
  // Loaded by its full path beside this program, never through the search path.
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::wstring library(path, length);
  library.resize(library.find_last_of(L"\\/") + 1);
  library += L"vantel.dll";
  if (library.size() >= MAX_PATH) return;
  state.library = LoadLibraryW(library.c_str());
  if (state.library == nullptr) return;
  state.query =
      reinterpret_cast<ModuleNameQuery>(reinterpret_cast<void*>(GetProcAddress(state.library, "GetWndModuleNameW")));
}

bool FileIsUnreadable(const std::wstring& path) {
  std::string bytes;
  if (ReadSmallFile(path.c_str(), kMapMaxFileBytes, bytes) != ReadResult::kUnreadable) return false;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return true;
  return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;  // an empty file holds nothing to keep
}

void InitPage(HWND page) {
  auto state = std::make_unique<PerWindowPage>();
  BindModuleQuery(*state);
  HWND list = List(page);
  ListColumnsFromString(list, IDS_MAP_COLUMNS);
  state->keepUnreadFile = FileIsUnreadable(MapPath(kMapFileName));
  MapLoad(state->rows, StringText(IDS_NO_TITLE).c_str());
  for (int i = 0; i < static_cast<int>(state->rows.size()); ++i) ShowRow(*state, list, i, true);
  EnableWindow(GetDlgItem(page, IDC_PW_APPLY), FALSE);
  SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
}

// Writes the table; false when "MapFlag.ini" could not be written. An unread file stays as it is
// while the list is the untouched initial table.
bool SaveTable(PerWindowPage& state) {
  if (state.keepUnreadFile && !state.changed) return true;
  bool saved = MapWrite(kMapFileName, state.rows) > 0;
  if (state.rows.empty()) saved = !FileExists(MapPath(kMapFileName).c_str());
  NotifyMain(kMapSaved);
  if (saved) state.keepUnreadFile = false;
  return saved;
}

void EditRow(PerWindowPage& state, HWND page) {
  HWND list = List(page);
  const int index = SelectedRow(list);
  if (index < 0 || index >= static_cast<int>(state.rows.size())) return;
  MapListRow row = state.rows[static_cast<size_t>(index)];
  if (RunEntryEditor(page, row, state.query) != 1) return;
  state.rows[static_cast<size_t>(index)] = row;
  ShowRow(state, list, index, false);
  ListView_EnsureVisible(list, index, FALSE);
  MarkChanged(state, page);
}

void NewRow(PerWindowPage& state, HWND page) {
  HWND list = List(page);
  const int selected = SelectedRow(list);
  const int count = static_cast<int>(state.rows.size());
  if (GetKeyState(VK_CONTROL) < 0) {
    // A copy of the selected row, above it, without the editor.
    if (selected < 0 || selected >= count) return;
    const MapListRow copy = state.rows[static_cast<size_t>(selected)];
    state.rows.insert(state.rows.begin() + selected, copy);
    ShowRow(state, list, selected, true);
    SelectRow(list, selected);
    MarkChanged(state, page);
    return;
  }
  MapListRow row;
  row.EntryFlag = perwindow::kNewEntryFlag;
  row.EntryWheelFlag = perwindow::kNewEntryWheelFlag;
  row.WndId = 0;
  if (GetKeyState(VK_SHIFT) < 0) {
    row.EntryWheelFlag = perwindow::WheelFlagFromGlobal(g_settings.WheelFlag);
  } else {
    row.Title = StringText(IDS_NEW_TITLE);
  }
  if (RunEntryEditor(page, row, state.query) != 1) return;
  const int index = perwindow::NewRowIndex(selected, count);
  state.rows.insert(state.rows.begin() + index, row);
  ShowRow(state, list, index, true);
  SelectRow(list, index);
  MarkChanged(state, page);
}

void DeleteRow(PerWindowPage& state, HWND page) {
  HWND list = List(page);
  const int index = SelectedRow(list);
  if (index < 0 || index >= static_cast<int>(state.rows.size())) return;
  state.rows.erase(state.rows.begin() + index);
  ListView_DeleteItem(list, index);
  SelectRow(list, perwindow::SelectionAfterDelete(index, static_cast<int>(state.rows.size())));
  MarkChanged(state, page);
}

void MoveRow(PerWindowPage& state, HWND page, int step) {
  HWND list = List(page);
  const int index = SelectedRow(list);
  const int moved = perwindow::MoveRow(state.rows, index, step);
  if (moved < 0) return;
  ShowRow(state, list, index, false);
  ShowRow(state, list, moved, false);
  ListView_SetItemState(list, index, 0, LVIS_SELECTED | LVIS_FOCUSED);
  SelectRow(list, moved);
  MarkChanged(state, page);
}

void OnItemChanged(PerWindowPage& state, HWND page, const NMLISTVIEW& change) {
  if (state.filling || change.iItem < 0 || change.iItem >= static_cast<int>(state.rows.size())) return;
  if ((change.uChanged & LVIF_STATE) == 0) return;
  const UINT oldImage = change.uOldState & LVIS_STATEIMAGEMASK;
  const UINT newImage = change.uNewState & LVIS_STATEIMAGEMASK;
  // Only a check box the user toggled: the row had one before and it changed.
  if (oldImage == 0 || oldImage == newImage) return;
  MapListRow& row = state.rows[static_cast<size_t>(change.iItem)];
  const uint32_t before = row.EntryFlag;
  if (newImage == INDEXTOSTATEIMAGEMASK(2)) {
    row.EntryFlag |= entry_flag::kUseWheel;
  } else {
    row.EntryFlag &= ~entry_flag::kUseWheel;
  }
  if (row.EntryFlag != before) MarkChanged(state, page);
}

void OnListNotify(PerWindowPage& state, HWND page, const NMHDR& header) {
  switch (header.code) {
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
      int command = 0;
      if (key.wVKey == VK_INSERT) command = IDC_PW_NEW;
      if (key.wVKey == VK_DELETE) command = IDC_PW_DELETE;
      if (key.wVKey == VK_F2) command = IDC_PW_EDIT;
      if (command != 0) PostMessageW(page, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
      break;
    }
    case NM_DBLCLK:
      PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_PW_EDIT, BN_CLICKED), 0);
      break;
    case LVN_ITEMCHANGED:
      OnItemChanged(state, page, reinterpret_cast<const NMLISTVIEW&>(header));
      break;
    default:
      break;
  }
}

// The user's per-window changes are lost when the table cannot be written: say so once.
void ReportMapSaveFailed(HWND page) {
  wchar_t title[64];
  SettingsWindowTitle(title, 64);
  MessageBoxW(page, StringText(IDS_MAP_SAVE_FAILED).c_str(), title, MB_ICONERROR | MB_OK);
}

void Answer(HWND page, LONG_PTR result) { SetWindowLongPtrW(page, DWLP_MSGRESULT, result); }

}  // namespace

INT_PTR CALLBACK PerWindowPageProc(HWND page, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_INITDIALOG) {
    InitPage(page);
    return TRUE;
  }
  PerWindowPage* state = PageOf(page);
  if (state == nullptr) return FALSE;
  switch (message) {
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->idFrom == IDC_PW_LIST) OnListNotify(*state, page, *header);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
          if (lp != 0) break;
          if (!SaveTable(*state)) ReportMapSaveFailed(page);
          Answer(page, 1);
          return TRUE;
        case IDCANCEL:
          if (lp != 0) break;
          Answer(page, 1);
          return TRUE;
        case IDC_PW_EDIT:
          EditRow(*state, page);
          return TRUE;
        case IDC_PW_NEW:
          NewRow(*state, page);
          return TRUE;
        case IDC_PW_DELETE:
          DeleteRow(*state, page);
          return TRUE;
        case IDC_PW_UP:
          MoveRow(*state, page, -1);
          return TRUE;
        case IDC_PW_DOWN:
          MoveRow(*state, page, +1);
          return TRUE;
        case IDC_PW_APPLY:
          if (HIWORD(wp) != BN_CLICKED) break;
          SetFocus(List(page));
          // A failed write keeps Apply enabled so that the user can try again.
          if (SaveTable(*state)) EnableWindow(GetDlgItem(page, IDC_PW_APPLY), FALSE);
          return TRUE;
        default:
          break;
      }
      break;
    case WM_RBUTTONDBLCLK: {
      POINT pt = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RevealHiddenControl(page, pt, 0);
      return TRUE;
    }
    case WM_DESTROY:
      if (state->library != nullptr) FreeLibrary(state->library);
      SetWindowLongPtrW(page, GWLP_USERDATA, 0);
      delete state;
      return TRUE;
    default:
      break;
  }
  return FALSE;
}

}  // namespace qorv
