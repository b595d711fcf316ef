#include "childproc/win32/PageCommandMessage.h"

#include <atomic>

#include "childproc/IpcProtocol.h"

namespace childproc {

UINT PageCommandMessage() {
    // Every thread that registers gets the same value, so a race only repeats the registration.
    static std::atomic<UINT> cached{0};
    UINT message = cached.load(std::memory_order_relaxed);
    if (message == 0) {
        message = RegisterWindowMessageW(kPageCommandMessageName);
        cached.store(message, std::memory_order_relaxed);
    }
    return message;
}

}  // namespace childproc
