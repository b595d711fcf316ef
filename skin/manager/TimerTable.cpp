#include "skin/manager/TimerTable.h"

#include <algorithm>

#include "skin/manager/ISkinWindowPort.h"

namespace SkinUI {

namespace {

// Platform timer ids cycle through 1..254; 0 is not a timer id.
constexpr uint32_t kWindowTimerIdCycle = 255;

}  // namespace

SkinTimerTable::Record* SkinTimerTable::FindRecord(CControlUI* control, uint32_t id) {
    for (Record& record : records_) {
        if (record.control == control && record.id == id) {
            return &record;
        }
    }
    return nullptr;
}

uint32_t SkinTimerTable::NextWindowTimerId() {
    for (uint32_t attempt = 0; attempt < kWindowTimerIdCycle; ++attempt) {
        lastWindowTimerId_ = (lastWindowTimerId_ + 1) % kWindowTimerIdCycle;
        const uint32_t candidate = lastWindowTimerId_;
        if (candidate == 0) {
            continue;
        }
        const bool taken = std::any_of(records_.begin(), records_.end(), [candidate](const Record& r) {
            return r.alive && r.windowTimerId == candidate;
        });
        if (!taken) {
            // A killed record that held the id could no longer be revived without a clash.
            records_.erase(
                std::remove_if(records_.begin(), records_.end(),
                               [candidate](const Record& r) { return r.windowTimerId == candidate; }),
                records_.end());
            return candidate;
        }
    }
    return 0;
}

bool SkinTimerTable::Set(ISkinWindowPort& port, CControlUI* control, uint32_t id, uint32_t elapseMs) {
    if (control == nullptr) {
        return false;
    }
    if (Record* existing = FindRecord(control, id)) {
        // Setting a running timer again restarts it rather than running two timers for one id.
        existing->alive = port.StartTimer(existing->windowTimerId, elapseMs);
        return existing->alive;
    }
    const uint32_t windowTimerId = NextWindowTimerId();
    if (windowTimerId == 0 || !port.StartTimer(windowTimerId, elapseMs)) {
        return false;
    }
    records_.push_back(Record{control, id, windowTimerId, true});
    return true;
}

bool SkinTimerTable::Kill(ISkinWindowPort& port, CControlUI* control, uint32_t id) {
    Record* record = FindRecord(control, id);
    if (record == nullptr || !record->alive) {
        return false;
    }
    port.StopTimer(record->windowTimerId);
    record->alive = false;
    return true;
}

void SkinTimerTable::Forget(ISkinWindowPort& port, CControlUI* control) {
    for (const Record& record : records_) {
        if (record.control == control && record.alive) {
            port.StopTimer(record.windowTimerId);
        }
    }
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [control](const Record& r) { return r.control == control; }),
                   records_.end());
}

void SkinTimerTable::KillAll(ISkinWindowPort& port) {
    for (Record& record : records_) {
        if (record.alive) {
            port.StopTimer(record.windowTimerId);
            record.alive = false;
        }
    }
}

const SkinTimerTable::Record* SkinTimerTable::FindLive(uint32_t windowTimerId) const {
    for (const Record& record : records_) {
        if (record.alive && record.windowTimerId == windowTimerId) {
            return &record;
        }
    }
    return nullptr;
}

}  // namespace SkinUI
