// Mouse-button page (dialog 112): up to eight button conversions in a list, the two BtnFlag boxes and
// the "HkMouseBtn" hotkey. The conversions live in the page's vector in list order until OK copies
// them into the settings record.
#include <windows.h>
// The common controls header needs the types of <windows.h>.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "common/flags.h"
#include "pelisk/app_win.h"
#include "pelisk/keyctl_win.h"
#include "pelisk/pages/mouse_page.h"
#include "pelisk/pages/mouse_win.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");

struct MousePage {
  std::vector<ButtonPair> pairs;
  std::vector<std::u16string> names;  // converted-button names, string 17
  std::wstring noneText;              // string 1
  bool filling = false;
};

MousePage* PageOf(HWND page) { return reinterpret_cast<MousePage*>(GetWindowLongPtrW(page, GWLP_USERDATA)); }
HWND List(HWND page) { return GetDlgItem(page, IDC_MB_LIST); }

std::wstring StringText(UINT id) {
  wchar_t text[256];
  const int length = LoadText(id, text, 256);
  return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::vector<std::u16string> SplitLines(const std::wstring& text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    lines.emplace_back(reinterpret_cast<const char16_t*>(text.data() + start), end - start);
    start = end + 1;
  }
  return lines;
}

void ShowPair(MousePage& state, HWND list, int index, bool insert) {
  const ButtonPair& pair = state.pairs[static_cast<size_t>(index)];
  const std::u16string button = mousepage::ButtonText(pair.condition, state.names);
  const std::string letters = mousepage::ConditionLetters(pair.condition);
  const std::wstring condition(letters.begin(), letters.end());
  wchar_t key[80];
  HotkeyDisplayText(pair.key, state.noneText.c_str(), key, 80);

  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(button.c_str()));
  state.filling = true;
  if (insert) {
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  } else {
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
  item.iSubItem = 1;
  item.pszText = const_cast<wchar_t*>(condition.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  item.iSubItem = 2;
  item.pszText = key;
  SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  ListView_SetCheckState(list, index, (pair.condition & btn_cond::kEnabled) != 0 ? TRUE : FALSE);
  state.filling = false;
}

void ShowAll(MousePage& state, HWND list) {
  ListView_DeleteAllItems(list);
  for (int i = 0; i < static_cast<int>(state.pairs.size()); ++i) ShowPair(state, list, i, true);
}

void SelectPair(HWND list, int index) {
  if (index < 0) return;
  ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, index, FALSE);
}

int SelectedPair(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED | LVNI_FOCUSED); }

void UpdateNewButton(MousePage& state, HWND page) {
  EnableWindow(GetDlgItem(page, IDC_MB_NEW), mousepage::CanAdd(state.pairs.size()));
}

void InitPage(HWND page) {
  auto state = std::make_unique<MousePage>();
  state->names = SplitLines(StringText(IDS_BUTTON_NAMES));
  state->noneText = StringText(IDS_NONE);
  const MouseBtnBlock& block = g_settings.MouseBtn;
  const uint32_t count = block.setNum < kMaxButtonPairs ? block.setNum : kMaxButtonPairs;
  state->pairs.assign(block.pairs, block.pairs + count);

  HWND hotkey = GetDlgItem(page, IDC_MB_HOTKEY);
  ConfigureKeyControl(hotkey, g_settings.KeyLimit != 0);
  HWND list = List(page);
  ListColumnsFromString(list, IDS_BUTTON_COLUMNS);
  ShowAll(*state, list);
  UpdateNewButton(*state, page);
  CheckDlgButton(page, IDC_MB_START, (block.btnFlag & btn_flag::kStartAtLaunch) != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(page, IDC_MB_WHEEL_UNDER,
                 (block.btnFlag & btn_flag::kWheelToPointer) != 0 ? BST_CHECKED : BST_UNCHECKED);
  SendMessageW(hotkey, KWM_SETVALUE, g_settings.HotkeyTable[kHotkeyMouseBtn], 0);
  SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state.release()));
}

void EditPair(MousePage& state, HWND page) {
  HWND list = List(page);
  const int index = SelectedPair(list);
  if (index < 0 || index >= static_cast<int>(state.pairs.size())) return;
  if (RunButtonEditor(page, state.pairs[static_cast<size_t>(index)]) != 1) return;
  ShowPair(state, list, index, false);
  ListView_EnsureVisible(list, index, FALSE);
}

void NewPair(MousePage& state, HWND page) {
  // The Insert key reaches here too: the limit holds whatever disabled the button.
  if (!mousepage::CanAdd(state.pairs.size())) return;
  ButtonPair pair = {mousepage::kNewCondition, 0};
  if (RunButtonEditor(page, pair) != 1) return;
  HWND list = List(page);
  const int index = mousepage::NewPairIndex(SelectedPair(list), static_cast<int>(state.pairs.size()));
  state.pairs.insert(state.pairs.begin() + index, pair);
  ShowPair(state, list, index, true);
  SelectPair(list, index);
  UpdateNewButton(state, page);
}

void DeletePair(MousePage& state, HWND page) {
  HWND list = List(page);
  const int index = SelectedPair(list);
  if (index < 0 || index >= static_cast<int>(state.pairs.size())) return;
  state.pairs.erase(state.pairs.begin() + index);
  ListView_DeleteItem(list, index);
  if (index < static_cast<int>(state.pairs.size())) SelectPair(list, index);
  UpdateNewButton(state, page);
}

void MovePair(MousePage& state, HWND page, int step) {
  HWND list = List(page);
  const int index = SelectedPair(list);
  const int target = index + step;
  if (index < 0 || target < 0 || target >= static_cast<int>(state.pairs.size())) return;
  std::swap(state.pairs[static_cast<size_t>(index)], state.pairs[static_cast<size_t>(target)]);
  ShowPair(state, list, index, false);
  ShowPair(state, list, target, false);
  ListView_SetItemState(list, index, 0, LVIS_SELECTED | LVIS_FOCUSED);
  SelectPair(list, target);
}

void SortList(MousePage& state, HWND page) {
  mousepage::SortPairs(state.pairs);
  ShowAll(state, List(page));
}

void OnItemChanged(MousePage& state, const NMLISTVIEW& change) {
  if (state.filling || change.iItem < 0 || change.iItem >= static_cast<int>(state.pairs.size())) return;
  if ((change.uChanged & LVIF_STATE) == 0) return;
  const UINT oldImage = change.uOldState & LVIS_STATEIMAGEMASK;
  const UINT newImage = change.uNewState & LVIS_STATEIMAGEMASK;
  if (oldImage == 0 || oldImage == newImage) return;
  ButtonPair& pair = state.pairs[static_cast<size_t>(change.iItem)];
  if (newImage == INDEXTOSTATEIMAGEMASK(2)) {
    pair.condition |= btn_cond::kEnabled;
  } else {
    pair.condition &= ~btn_cond::kEnabled;
  }
}

void OnListNotify(MousePage& state, HWND page, const NMHDR& header) {
  switch (header.code) {
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
      int command = 0;
      if (key.wVKey == VK_INSERT) command = IDC_MB_NEW;
      if (key.wVKey == VK_DELETE) command = IDC_MB_DELETE;
      if (key.wVKey == VK_F2) command = IDC_MB_EDIT;
      if (command != 0) PostMessageW(page, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
      break;
    }
    case NM_DBLCLK:
      PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_MB_EDIT, BN_CLICKED), 0);
      break;
    case LVN_ITEMCHANGED:
      OnItemChanged(state, reinterpret_cast<const NMLISTVIEW&>(header));
      break;
    case LVN_COLUMNCLICK:
      if (reinterpret_cast<const NMLISTVIEW&>(header).iSubItem == 0) SortList(state, page);
      break;
    default:
      break;
  }
}

// OK of the settings window: the list and the boxes go into the record; the hotkey only when it is
// neither a duplicate nor refused by the system (else the page stays open).
LONG_PTR AcceptPage(MousePage& state, HWND page) {
  MouseBtnBlock& block = g_settings.MouseBtn;
  const size_t count = state.pairs.size() < kMaxButtonPairs ? state.pairs.size() : kMaxButtonPairs;
  for (size_t i = 0; i < count; ++i) block.pairs[i] = state.pairs[i];
  block.setNum = static_cast<uint32_t>(count);
  block.btnFlag &= ~(btn_flag::kStartAtLaunch | btn_flag::kWheelToPointer);
  if (IsDlgButtonChecked(page, IDC_MB_START) == BST_CHECKED) block.btnFlag |= btn_flag::kStartAtLaunch;
  if (IsDlgButtonChecked(page, IDC_MB_WHEEL_UNDER) == BST_CHECKED) block.btnFlag |= btn_flag::kWheelToPointer;

  HWND hotkey = GetDlgItem(page, IDC_MB_HOTKEY);
  const uint32_t value = static_cast<uint32_t>(SendMessageW(hotkey, KWM_GETVALUE, 0, 0));
  if (hotkey::Vk(value) != 0) {
    if (mousepage::DuplicateHotkey(value, g_settings.HotkeyTable, kHotkeyDbgHook + 1) >= 0 &&
        AskToFix(page, IDS_DUPLICATE_HOTKEY)) {
      SetFocus(hotkey);
      return 2;
    }
    if (!HotkeyRegisters(page, kHotkeyMouseBtn, value) && AskToFix(page, IDS_REGISTER_FAILED)) {
      SetFocus(hotkey);
      return 2;
    }
  }
  g_settings.HotkeyTable[kHotkeyMouseBtn] = value;
  return 1;
}

}  // namespace

INT_PTR CALLBACK MousePageProc(HWND page, UINT message, WPARAM wp, LPARAM lp) {
  if (message == WM_INITDIALOG) {
    InitPage(page);
    return TRUE;
  }
  MousePage* state = PageOf(page);
  if (state == nullptr) return FALSE;
  switch (message) {
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->idFrom == IDC_MB_LIST) OnListNotify(*state, page, *header);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
          if (lp != 0) break;
          return SetDialogResult(page, AcceptPage(*state, page));
        case IDCANCEL:
          if (lp != 0) break;
          return SetDialogResult(page, 1);
        case IDC_MB_EDIT:
          EditPair(*state, page);
          return TRUE;
        case IDC_MB_NEW:
          NewPair(*state, page);
          return TRUE;
        case IDC_MB_DELETE:
          DeletePair(*state, page);
          return TRUE;
        case IDC_MB_UP:
          MovePair(*state, page, -1);
          return TRUE;
        case IDC_MB_DOWN:
          MovePair(*state, page, +1);
          return TRUE;
        default:
          break;
      }
      break;
    case WM_DESTROY:
      SetWindowLongPtrW(page, GWLP_USERDATA, 0);
      delete state;
      return TRUE;
    default:
      break;
  }
  return FALSE;
}

}  // namespace qorv
