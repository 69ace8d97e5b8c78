// The 256-byte block shared by every copy of the hook library and by the main program.
// Every copy in every process reads the same bytes at the same offsets, so the layout is pinned below.
// Window handles, hook handles and message ids are stored as 32-bit values; nothing is locked:
// each field is an aligned word written whole.
#pragma once
#include <cstddef>
#include <cstdint>

#include "common/mouse_btn.h"

namespace qorv {

struct ActiveRecord {
  uint32_t condition;  // condition word of the active conversion of this button, 0 = none
  uint32_t key;        // its key word
};

struct SharedState {
  uint16_t QueryAtom;          // module-name query: atom holding the answer; written by the answering process
  uint16_t reserved02;
  uint32_t QueryHook;          // module-name query: one-shot hook handle while a query runs; querying process
  uint32_t DebugOwner;         // debug hook owner value, non-zero = installed; main program
  uint32_t DebugHook;          // WH_DEBUG handle; main program
  uint32_t DebugThread;        // thread id given to SetHookDebug; main program
  uint32_t DebugMask;          // hook kinds to block; main program
  uint32_t LLMouseOwner;       // low-level hook owner window, non-zero = installed; main program
  uint32_t LLMouseNotifyMsg;   // message posted to LLMouseOwner; main program
  uint32_t LLMouseHook;        // WH_MOUSE_LL handle; low-level hook thread
  uint32_t LLMouseThreadArg;   // thread id argument of SetHookLLMouse; main program
  MouseBtnBlock MouseBtn;      // copy of the mouse-button settings; main program
  uint32_t HeldButtons;        // conversion: buttons held now; low-level hook thread
  uint32_t ModifierHolds;      // conversion: which conversions hold each modifier; low-level hook thread
  uint32_t ActiveButtons;      // conversion: buttons whose conversion is active; low-level hook thread
  uint32_t FlagSequence;       // odd while SetHookFlag changes the four flag words; main program
  ActiveRecord ActiveRecords[7];  // conversion: one per button index; low-level hook thread
  uint32_t PostModButtons;     // conversion: buttons whose posted conversion is active; low-level hook thread
  uint32_t PostTargetWnd;      // conversion: window that posted conversions go to; low-level hook thread
  uint32_t RollCount;          // rolled-up windows; any process that rolls or restores
  uint32_t MainFlag;           // main program (SetHookFlag)
  uint32_t WheelFlag;          // main program (SetHookFlag)
  uint32_t WndFlag;            // main program (SetHookFlag); byte 2 is the snap distance
  uint32_t ExtraFlag;          // main program (SetHookFlag)
  uint32_t GetMsgOwner;        // message hook owner window, non-zero = installed; main program
  uint32_t GetMsgNotifyMsg;    // message posted to GetMsgOwner; main program
  uint32_t GetMsgHook;         // WH_GETMESSAGE handle; main program
  uint32_t CallWndOwner;       // window-procedure hook owner window; main program
  uint32_t CallWndNotifyMsg;   // message posted to CallWndOwner; main program
  uint32_t CallWndHook;        // WH_CALLWNDPROC handle; main program
  uint32_t MouseOwner;         // mouse hook owner window; main program
  uint32_t MouseNotifyMsg;     // message posted to MouseOwner; main program
  uint32_t MouseHookHandle;    // WH_MOUSE handle; main program
  uint32_t AttachCount;        // process attaches since the first copy; each attaching process
  uint32_t DetachCount;        // process detaches; each detaching process
};

static_assert(sizeof(SharedState) == 256, "SharedState is 256 bytes");
static_assert(offsetof(SharedState, QueryAtom) == 0x000, "QueryAtom");
static_assert(offsetof(SharedState, QueryHook) == 0x004, "QueryHook");
static_assert(offsetof(SharedState, DebugOwner) == 0x008, "DebugOwner");
static_assert(offsetof(SharedState, DebugHook) == 0x00C, "DebugHook");
static_assert(offsetof(SharedState, DebugThread) == 0x010, "DebugThread");
static_assert(offsetof(SharedState, DebugMask) == 0x014, "DebugMask");
static_assert(offsetof(SharedState, LLMouseOwner) == 0x018, "LLMouseOwner");
static_assert(offsetof(SharedState, LLMouseNotifyMsg) == 0x01C, "LLMouseNotifyMsg");
static_assert(offsetof(SharedState, LLMouseHook) == 0x020, "LLMouseHook");
static_assert(offsetof(SharedState, LLMouseThreadArg) == 0x024, "LLMouseThreadArg");
static_assert(offsetof(SharedState, MouseBtn) == 0x028, "MouseBtnBlock");
static_assert(offsetof(SharedState, MouseBtn.setNum) == 0x02C, "SetNum");
static_assert(offsetof(SharedState, MouseBtn.pairs) == 0x030, "first pair");
static_assert(offsetof(SharedState, HeldButtons) == 0x070, "HeldButtons");
static_assert(offsetof(SharedState, ModifierHolds) == 0x074, "ModifierHolds");
static_assert(offsetof(SharedState, ActiveButtons) == 0x078, "ActiveButtons");
static_assert(offsetof(SharedState, FlagSequence) == 0x07C, "FlagSequence");
static_assert(offsetof(SharedState, ActiveRecords) == 0x080, "ActiveRecords");
static_assert(sizeof(SharedState::ActiveRecords) == 56, "ActiveRecords is 56 bytes");
static_assert(offsetof(SharedState, PostModButtons) == 0x0B8, "PostModButtons");
static_assert(offsetof(SharedState, PostTargetWnd) == 0x0BC, "PostTargetWnd");
static_assert(offsetof(SharedState, RollCount) == 0x0C0, "RollCount");
static_assert(offsetof(SharedState, MainFlag) == 0x0C4, "MainFlag");
static_assert(offsetof(SharedState, WheelFlag) == 0x0C8, "WheelFlag");
static_assert(offsetof(SharedState, WndFlag) == 0x0CC, "WndFlag");
static_assert(offsetof(SharedState, ExtraFlag) == 0x0D0, "ExtraFlag");
static_assert(offsetof(SharedState, GetMsgOwner) == 0x0D4, "GetMsgOwner");
static_assert(offsetof(SharedState, GetMsgNotifyMsg) == 0x0D8, "GetMsgNotifyMsg");
static_assert(offsetof(SharedState, GetMsgHook) == 0x0DC, "GetMsgHook");
static_assert(offsetof(SharedState, CallWndOwner) == 0x0E0, "CallWndOwner");
static_assert(offsetof(SharedState, CallWndNotifyMsg) == 0x0E4, "CallWndNotifyMsg");
static_assert(offsetof(SharedState, CallWndHook) == 0x0E8, "CallWndHook");
static_assert(offsetof(SharedState, MouseOwner) == 0x0EC, "MouseOwner");
static_assert(offsetof(SharedState, MouseNotifyMsg) == 0x0F0, "MouseNotifyMsg");
static_assert(offsetof(SharedState, MouseHookHandle) == 0x0F4, "MouseHookHandle");
static_assert(offsetof(SharedState, AttachCount) == 0x0F8, "AttachCount");
static_assert(offsetof(SharedState, DetachCount) == 0x0FC, "DetachCount");

// The block of this process: the library's shared section, or a plain copy where the window
// code is linked into a test program.
extern SharedState g_shared;

}  // namespace qorv
