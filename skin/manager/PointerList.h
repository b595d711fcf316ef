#pragma once

#include <algorithm>
#include <vector>

namespace SkinUI {

// A list of objects the manager does not own (listeners, filters, overlay painters, the managers
// themselves), each in it once, in the order added. The objects may add or remove entries while the
// list is walked: a walk goes over a copy, skips an entry removed meanwhile (it may be gone) and leaves
// a new one for the next walk.
template <typename T>
class SkinPointerList {
  public:
    // False for null or an object already in the list.
    bool Add(T* item) {
        if (item == nullptr || Contains(item)) {
            return false;
        }
        items_.push_back(item);
        return true;
    }

    bool Remove(const T* item) {
        auto it = std::find(items_.begin(), items_.end(), item);
        if (it == items_.end()) {
            return false;
        }
        items_.erase(it);
        return true;
    }

    bool Contains(const T* item) const {
        return std::find(items_.begin(), items_.end(), item) != items_.end();
    }

    // Offers each entry to `take` in order until one takes it (returns true); true when one did.
    template <typename Take>
    bool AnyTakes(Take take, bool lastFirst = false) const {
        std::vector<T*> walk = items_;
        if (lastFirst) {
            std::reverse(walk.begin(), walk.end());
        }
        for (T* item : walk) {
            if (Contains(item) && take(*item)) {
                return true;
            }
        }
        return false;
    }

    // Calls `visit` for every entry in order.
    template <typename Visit>
    void ForEach(Visit visit) const {
        AnyTakes([&visit](T& item) {
            visit(item);
            return false;
        });
    }

  private:
    std::vector<T*> items_;
};

}  // namespace SkinUI
