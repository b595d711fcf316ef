#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace SkinUI {

class CControlUI;
class ISkinWindowPort;

// The timers of one window's controls. Each control timer runs on a platform timer of the window with
// an id of the table's choosing; a killed timer keeps its record so that setting it again revives it.
class SkinTimerTable {
  public:
    struct Record {
        CControlUI* control = nullptr;
        uint32_t id = 0;             // the control's own id
        uint32_t windowTimerId = 0;  // the platform timer's id
        bool alive = false;
    };

    // Starts (or restarts) the control's timer; false when the platform refuses it or every window
    // timer id is taken.
    bool Set(ISkinWindowPort& port, CControlUI* control, uint32_t id, uint32_t elapseMs);
    bool Kill(ISkinWindowPort& port, CControlUI* control, uint32_t id);
    // Stops every timer of the control and forgets their records.
    void Forget(ISkinWindowPort& port, CControlUI* control);
    void KillAll(ISkinWindowPort& port);
    // The live timer behind a platform timer id, or null.
    const Record* FindLive(uint32_t windowTimerId) const;
    size_t Size() const { return records_.size(); }

  private:
    Record* FindRecord(CControlUI* control, uint32_t id);
    // The next free platform timer id; 0 when none is free.
    uint32_t NextWindowTimerId();

    std::vector<Record> records_;
    uint32_t lastWindowTimerId_ = 4096;
};

}  // namespace SkinUI
