#include "pelisk/sheet.h"

#include <cstring>

#include "common/flags.h"

namespace qorv {

namespace {

// Little-endian writer that only counts once the buffer is too small.
class TemplateWriter {
 public:
  TemplateWriter(uint8_t* out, size_t capacity) : out_(out), capacity_(out != nullptr ? capacity : 0) {}
  void Word(uint16_t w) {
    Byte(static_cast<uint8_t>(w & 0xFF));
    Byte(static_cast<uint8_t>(w >> 8));
  }
  void Dword(uint32_t d) {
    Word(static_cast<uint16_t>(d & 0xFFFF));
    Word(static_cast<uint16_t>(d >> 16));
  }
  void Text(const char16_t* s) {
    for (; *s != 0; ++s) Word(static_cast<uint16_t>(*s));
    Word(0);
  }
  void AlignDword() {
    while (size_ % 4 != 0) Byte(0);
  }
  size_t Size() const { return size_; }
  bool Fits() const { return size_ <= capacity_; }

 private:
  void Byte(uint8_t b) {
    if (size_ < capacity_) out_[size_] = b;
    ++size_;
  }
  uint8_t* out_;
  size_t capacity_;
  size_t size_ = 0;
};

struct TemplateItem {
  uint32_t style;
  int16_t x, y, cx, cy;
  uint16_t id;
  const char16_t* className;  // null: the predefined button class
  const char16_t* text;
};

}  // namespace

int SheetPageCountFor(uint32_t platformId, int startPage, const MouseBtnBlock& block) {
  if (platformId < 2) return kSheetPageCount - 1;
  if (startPage == kMousePageIndex) return kSheetPageCount;
  if ((block.btnFlag & (btn_flag::kStartAtLaunch | btn_flag::kWheelToPointer)) != 0) return kSheetPageCount;
  for (const ButtonPair& pair : block.pairs) {
    if ((pair.condition & (btn_cond::kEnabled | btn_cond::kSuppressButton)) != 0) return kSheetPageCount;
  }
  return kSheetPageCount - 1;
}

int ClampPage(int page, int count) {
  if (page < 0) return 0;
  if (page >= count) return count - 1;
  return page;
}

int CycleTab(int current, int count, bool backward) {
  if (count < 2) return -1;
  if (backward) return (current <= 0 || current >= count) ? count - 1 : current - 1;
  return (current < 0 || current >= count - 1) ? 0 : current + 1;
}

bool SplitTwoFields(const char16_t* text, const char16_t** first, size_t* firstLength, const char16_t** second,
                    size_t* secondLength) {
  if (text == nullptr || text[0] == 0 || text[0] == u'\n') return false;
  const char16_t* p = text;
  while (*p != 0 && *p != u'\n') ++p;
  *first = text;
  *firstLength = static_cast<size_t>(p - text);
  if (*p == u'\n') ++p;
  const char16_t* q = p;
  while (*q != 0 && *q != u'\n') ++q;
  *second = p;
  *secondLength = static_cast<size_t>(q - p);
  return true;
}

size_t BuildSheetTemplateBytes(const char16_t* face, uint16_t pointSize, const char16_t* okText,
                               const char16_t* cancelText, uint8_t* out, size_t capacity) {
  const bool ownFace = face != nullptr && face[0] != 0;
  const char16_t* fontFace = ownFace ? face : u"ＭＳ Ｐゴシック";
  const uint16_t fontSize = (ownFace && pointSize != 0) ? pointSize : 9;
  const TemplateItem items[] = {
      {0x50030000, 5, 60, 50, 15, 1, nullptr, okText != nullptr ? okText : u"OK"},
      {0x50010000, 60, 60, 50, 15, 2, nullptr, cancelText != nullptr ? cancelText : u"キャンセル"},
      {0x54010040, 5, 5, 105, 50, 0x3020, u"SysTabControl32", u""},
  };
  TemplateWriter w(out, capacity);
  w.Dword(0x94CA00C4);  // popup, visible, caption, system menu, minimise box, modal frame, set font
  w.Dword(0);           // no extended style
  w.Word(3);
  w.Word(0);
  w.Word(0);
  w.Word(114);
  w.Word(80);
  w.Word(0);  // no menu
  w.Word(0);  // default dialog class
  w.Text(u"設定");
  w.Word(fontSize);
  w.Text(fontFace);
  for (const TemplateItem& item : items) {
    w.AlignDword();
    w.Dword(item.style);
    w.Dword(0);
    w.Word(static_cast<uint16_t>(item.x));
    w.Word(static_cast<uint16_t>(item.y));
    w.Word(static_cast<uint16_t>(item.cx));
    w.Word(static_cast<uint16_t>(item.cy));
    w.Word(item.id);
    if (item.className == nullptr) {
      w.Word(0xFFFF);
      w.Word(0x0080);
    } else {
      w.Text(item.className);
    }
    w.Text(item.text);
    w.Word(0);  // no creation data
  }
  if (!w.Fits() && out != nullptr) std::memset(out, 0, capacity);
  return w.Size();
}

}  // namespace qorv
