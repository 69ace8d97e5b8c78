#include "host/main_messages.h"

namespace qorv {

LowerIntegrityMessages MessagesFromLowerIntegrity(uint32_t settingsMsg, uint32_t taskbarCreated) {
  LowerIntegrityMessages list = {{kGetMsgNotify, kCallWndNotify, kMouseNotify, kLLMouseNotify}, 4};
  const uint32_t registered[] = {settingsMsg, taskbarCreated};
  for (uint32_t msg : registered) {
    if (msg != 0) list.ids[list.count++] = msg;
  }
  return list;
}

}  // namespace qorv
