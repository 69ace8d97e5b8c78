// The other page (dialog 122): MainFlag's volume, main-program and convenience switches, and the
// mixer device. The list's item data is the device id, which is what "MxId" stores.
#include "pelisk/pages/other_page_win.h"

// The multimedia header needs <windows.h> before it.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

#include <new>

#include "pelisk/app_win.h"
#include "pelisk/pages/page_text_win.h"
#include "pelisk/pages/pages_win.h"
#include "pelisk/resource.h"
#include "pelisk/ui_helpers_win.h"

namespace qorv {
namespace {

namespace op = other_page;
static_assert(op::kTrayVolume == IDC_OT_ICON_VOLUME && op::kDesktopVolume == IDC_OT_DESKTOP_VOLUME &&
                  op::kMixerCaption == IDC_OT_MIXER_LABEL && op::kMixer == IDC_OT_MIXER &&
                  op::kNoTrayIcon == IDC_OT_NO_TRAY && op::kIconBitmap == IDC_OT_ICON_BITMAP &&
                  op::kWheelClickSuspend == IDC_OT_WHEELCLICK_OFF && op::kRenameAid == IDC_OT_F2 &&
                  op::kDoubleClickUp == IDC_OT_DBLCLICK_UP && op::kWheelClickUp == IDC_OT_MCLICK_UP &&
                  op::kNoWinKeyStart == IDC_OT_WINKEY && op::kEditSelectAll == IDC_OT_CTRLA &&
                  op::kRollUp == IDC_OT_ROLL && op::kScrollPosReport == IDC_OT_SCROLLVALUE,
              "other page ids as in the resources");

class SystemMixers : public MixerDevices {
 public:
  uint32_t Count() const override { return mixerGetNumDevs(); }
  bool Name(uint32_t id, char16_t* out, int capacity) const override {
    MIXERCAPSW caps = {};
    if (mixerGetDevCapsW(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR) return false;
    int i = 0;
    for (; i < capacity - 1 && i < MAXPNAMELEN && caps.szPname[i] != L'\0'; ++i) out[i] = caps.szPname[i];
    out[i] = u'\0';
    return true;
  }
};

const SystemMixers g_systemMixers;
const MixerDevices* g_mixers = &g_systemMixers;

OtherPageState* PageOf(HWND page) { return reinterpret_cast<OtherPageState*>(GetWindowLongPtrW(page, DWLP_USER)); }

void ApplyPage(HWND page, const OtherPageState& s) {
  for (int i = 0; i < kOtherPageCheckCount; ++i) {
    CheckDlgButton(page, kOtherPageChecks[i].id, IsChecked(s.words, kOtherPageChecks[i]) ? BST_CHECKED : BST_UNCHECKED);
  }
  EnableWindow(GetDlgItem(page, op::kTrayVolume), s.volumeEnabled);
  EnableWindow(GetDlgItem(page, op::kDesktopVolume), s.volumeEnabled);
  EnableWindow(GetDlgItem(page, op::kMixer), OtherPageMixerEnabled(s));
}

void ReadChecks(HWND page, OtherPageState& s) {
  for (int i = 0; i < kOtherPageCheckCount; ++i) {
    SetChecked(s.words, kOtherPageChecks[i], IsDlgButtonChecked(page, kOtherPageChecks[i].id) == BST_CHECKED);
  }
}

// Without the page's state the page shows the resource's boxes and OK stores nothing.
void InitPage(HWND page) {
  OtherPageState* p = new (std::nothrow) OtherPageState();
  if (p == nullptr) return;
  // Without room for the device list the page opens as with an empty one.
  static const MixerList kNoDevices = {};
  MixerList* list = new (std::nothrow) MixerList();
  HWND combo = GetDlgItem(page, op::kMixer);
  if (list != nullptr && g_osMajor <= op::kMixerLastOsMajor) {
    MixerListBuild(*g_mixers, *list);
    for (int i = 0; i < list->count; ++i) {
      const LRESULT item = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list->items[i].name));
      if (item >= 0) SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(item), list->items[i].id);
    }
  }
  *p = OtherPageOpen(g_settings.MainFlag, g_settings.MixerWord, g_osMajor, list != nullptr ? *list : kNoDevices);
  delete list;
  SetWindowLongPtrW(page, DWLP_USER, reinterpret_cast<LONG_PTR>(p));
  g_settings.MixerWord = p->mixerWord;  // an out-of-range device is forgotten at once
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(p->mixerSelection), 0);
  ApplyPage(page, *p);
}

void StorePage(HWND page, OtherPageState& s) {
  ReadChecks(page, s);
  g_settings.MainFlag = OtherPageMainFlag(s, g_settings.MainFlag);
  HWND combo = GetDlgItem(page, op::kMixer);
  const LRESULT sel = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  const LRESULT id = sel == CB_ERR ? CB_ERR : SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(sel), 0);
  g_settings.MixerWord = OtherPageMixerWord(g_settings.MixerWord, id != CB_ERR, static_cast<uint32_t>(id));
}

INT_PTR OnCommand(HWND page, WPARAM wp, LPARAM lp) {
  const int id = LOWORD(wp);
  OtherPageState* p = PageOf(page);
  if (lp == 0 && (id == IDOK || id == IDCANCEL)) {
    if (id == IDOK && p != nullptr) StorePage(page, *p);
    return SetDialogResult(page, 1);
  }
  if (HIWORD(wp) == BN_CLICKED && (id == op::kTrayVolume || id == op::kDesktopVolume) && p != nullptr) {
    ReadChecks(page, *p);
    EnableWindow(GetDlgItem(page, op::kMixer), OtherPageMixerEnabled(*p));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

void OtherPageUseMixerDevices(const MixerDevices* devices) {
  g_mixers = devices != nullptr ? devices : &g_systemMixers;
}

INT_PTR CALLBACK OtherPageProc(HWND page, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      InitPage(page);
      return TRUE;
    case WM_COMMAND:
      return OnCommand(page, wp, lp);
    case WM_RBUTTONDBLCLK:
      RevealHiddenControl(page, MousePoint(lp), 0);
      return TRUE;
    case WM_NCDESTROY:
      delete PageOf(page);
      SetWindowLongPtrW(page, DWLP_USER, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qorv
