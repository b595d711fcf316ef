#pragma once

#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

namespace SkinUI {

// Callbacks a control runs at one moment of its life. Add returns a handle for Remove. A hook may
// add or remove hooks while the list runs; the run sees the hooks as they were when it started.
template <typename Result, typename... Args>
class SkinHookList {
  public:
    using Hook = std::function<Result(Args...)>;

    size_t Add(Hook hook) {
        hooks_.push_back(Entry{++lastHandle_, std::move(hook)});
        return lastHandle_;
    }
    bool Remove(size_t handle) {
        for (auto it = hooks_.begin(); it != hooks_.end(); ++it) {
            if (it->handle == handle) {
                hooks_.erase(it);
                return true;
            }
        }
        return false;
    }
    bool IsEmpty() const { return hooks_.empty(); }
    size_t Size() const { return hooks_.size(); }

    // Runs every hook in the order they were added.
    void RunAll(Args... args) const {
        if (hooks_.empty()) {
            return;
        }
        const std::vector<Entry> running = hooks_;
        for (const Entry& entry : running) {
            entry.hook(args...);
        }
    }

    // Runs the hooks in order until one answers false; true when all accept (or there are none).
    bool AllAccept(Args... args) const {
        if (hooks_.empty()) {
            return true;
        }
        const std::vector<Entry> running = hooks_;
        for (const Entry& entry : running) {
            if (!entry.hook(args...)) {
                return false;
            }
        }
        return true;
    }

  private:
    struct Entry {
        size_t handle;
        Hook hook;
    };
    std::vector<Entry> hooks_;
    size_t lastHandle_ = 0;
};

}  // namespace SkinUI
