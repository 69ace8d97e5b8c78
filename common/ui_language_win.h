// Dialogs and strings of a module in the language of the user's interface (see ui_language.h).
// The resources are found with explicit language ids rather than through the thread's language,
// so that the choice is the same on every Windows version and under Wine.
#pragma once
#include <windows.h>

namespace qorv {

// Japanese or English, from GetUserDefaultUILanguage; chosen once per process.
LANGID UiLanguage();
// For tests in one process: the language to use from now on (0: the user's again).
void SetUiLanguage(LANGID language);

// The dialog template `id` of the module in the UI language, or in its other language when the
// module has only that; null when it has neither.
const DLGTEMPLATE* UiDialogTemplate(HINSTANCE module, UINT id);
// String `id` in the UI language (else in the other language) into buffer, terminated and cut
// to capacity − 1 characters; the count stored, 0 when there is no such string.
int LoadUiString(HINSTANCE module, UINT id, wchar_t* buffer, int capacity);
// The same as 8-bit text in the system code page.
int LoadUiStringA(HINSTANCE module, UINT id, char* buffer, int capacity);

}  // namespace qorv
