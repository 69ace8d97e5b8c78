// Placeholders until the file-list helpers are built with the wheel side: they never act.
#include "hooklib/filelist_win.h"

namespace qorv {

int RenameSelectHelper(HWND, HWND, int) { return 0; }
int UpFolderByDoubleClick(HWND, const NMHDR*, int) { return 0; }

}  // namespace qorv
