// Where both programs look for the DLLs they load by name.
#pragma once

namespace qorv {

// Only the DLLs of the system folder are found by name: a DLL planted beside the program (in a
// folder the user can write to) is never loaded in its place. Bound at run time: the function is
// missing on systems without the loader update. Called first thing in wWinMain.
void LoadSystemDllsOnly();

}  // namespace qorv
