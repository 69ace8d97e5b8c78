// Feeds an arbitrary mouse-button block and a sequence of button and wheel events with modifier
// states to the conversion's state machine. The block comes from the settings (and, through the
// shared block, from any process): whatever it holds, every step stays within its action list, no
// converted key is left down after a release of everything, and the modifier holds only name
// buttons that are held.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "hooklib/buttons.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

uint32_t g_modifiers;
uint32_t ReadModifiers() { return g_modifiers; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(qorv::MouseBtnBlock)) return 0;
  qorv::MouseBtnBlock block;
  std::memcpy(&block, data, sizeof(block));
  qorv::SharedState state = {};
  qorv::ButtonCopyBlock(state.MouseBtn, block);
  Check(state.MouseBtn.setNum <= qorv::kMaxButtonPairs);
  qorv::ButtonActions actions;
  for (size_t i = sizeof(block); i + 1 < size; i += 2) {
    const uint8_t what = data[i];
    g_modifiers = static_cast<uint32_t>(data[i + 1]) << 8 & 0xF00u;
    qorv::ButtonEvent event;
    event.index = what % qorv::kButtonIndexCount;
    event.up = (what & 0x80) != 0;
    event.delta = (event.index == 2 || event.index == 3) ? ((what & 0x40) != 0 ? 120 : -120) : 0;
    qorv::ButtonStep(state, event, ReadModifiers, actions);
    Check(actions.count >= 0 && actions.count <= qorv::kMaxButtonActions);
  }
  qorv::ButtonReleaseAll(state, actions);
  Check(actions.count >= 0 && actions.count <= qorv::kMaxButtonActions);
  Check(state.ActiveButtons == 0 && state.PostModButtons == 0);
  for (const qorv::ActiveRecord& record : state.ActiveRecords) Check(record.condition == 0 && record.key == 0);
  return 0;
}
