#include "common/ui_language_win.h"

#include "common/ui_language.h"

namespace qorv {

namespace {

LANGID g_uiLanguage;  // 0 until chosen

LANGID OtherLanguage(LANGID language) { return language == kLangJapanese ? kLangEnglish : kLangJapanese; }

// The resource in the UI language, else in the other one.
HRSRC FindUiResource(HINSTANCE module, const wchar_t* type, const wchar_t* name) {
  const LANGID language = UiLanguage();
  HRSRC found = FindResourceExW(module, type, name, language);
  if (found == nullptr) found = FindResourceExW(module, type, name, OtherLanguage(language));
  return found;
}

}  // namespace

LANGID UiLanguage() {
  if (g_uiLanguage == 0) g_uiLanguage = ResourceLanguageFor(GetUserDefaultUILanguage());
  return g_uiLanguage;
}

void SetUiLanguage(LANGID language) { g_uiLanguage = language == 0 ? 0 : ResourceLanguageFor(language); }

const DLGTEMPLATE* UiDialogTemplate(HINSTANCE module, UINT id) {
  HRSRC found = FindUiResource(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id));  // RT_DIALOG
  if (found == nullptr) return nullptr;
  return static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(module, found)));
}

int LoadUiString(HINSTANCE module, UINT id, wchar_t* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return 0;
  buffer[0] = 0;
  // Strings live in blocks of 16: block id / 16 + 1, entry id % 16.
  HRSRC found = FindUiResource(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW((id >> 4) + 1));  // RT_STRING
  if (found == nullptr) return 0;
  const auto* block = static_cast<const char16_t*>(LockResource(LoadResource(module, found)));
  size_t length = 0;
  const char16_t* text = StringBlockEntry(block, SizeofResource(module, found) / sizeof(char16_t), id & 15, &length);
  if (text == nullptr) return 0;
  if (length > static_cast<size_t>(capacity - 1)) length = static_cast<size_t>(capacity - 1);
  for (size_t i = 0; i < length; ++i) buffer[i] = static_cast<wchar_t>(text[i]);
  buffer[length] = 0;
  return static_cast<int>(length);
}

int LoadUiStringA(HINSTANCE module, UINT id, char* buffer, int capacity) {
  if (buffer == nullptr || capacity <= 0) return 0;
  buffer[0] = 0;
  wchar_t wide[512];
  const int n = LoadUiString(module, id, wide, 512);
  if (n == 0) return 0;
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide, n, buffer, capacity - 1, nullptr, nullptr);
  if (bytes <= 0) bytes = 0;
  buffer[bytes] = 0;
  return bytes;
}

}  // namespace qorv
