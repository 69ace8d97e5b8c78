// Whether the library serves the process it was loaded into, decided once at attach from the
// process token. Plain code, no <windows.h>.
#pragma once
#include <cstdint>

namespace qorv {

// A process in an AppContainer (store apps such as Settings or Calculator) runs at low integrity in
// a private object namespace: the shared mappings and events are not found there, and its posts to
// the main program are dropped. The library passes every event on unchanged in such a process.
enum class ProcessRole : uint8_t {
  Serve,
  PassThrough,
};

// tokenQueried: GetTokenInformation(TokenIsAppContainer) succeeded (systems before Windows 8 know no
// such class and have no AppContainers); isAppContainer: the DWORD it returned.
ProcessRole RoleFromToken(bool tokenQueried, uint32_t isAppContainer);

}  // namespace qorv
