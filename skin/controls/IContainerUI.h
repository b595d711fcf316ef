#pragma once

#include <memory>

namespace SkinUI {

class CControlUI;

// The child list of a container (FindInterface "IContainer"). Children are kept in markup order; the
// container owns them unless it was told not to (CContainerUI::SetOwnsChildren): then whoever added
// them owns them.
class IContainerUI {
  public:
    virtual CControlUI* ItemAt(int index) const = 0;
    // -1 when the control is not a child.
    virtual int IndexOf(const CControlUI* control) const = 0;
    virtual int Count() const = 0;
    // Appends; the child gets the container's manager and the container as parent. False (and the
    // child destroyed) for a null child.
    virtual bool Add(std::unique_ptr<CControlUI> control) = 0;
    // Inserts before `index`; false (and the child destroyed) when the index lies outside 0..Count().
    virtual bool AddAt(std::unique_ptr<CControlUI> control, int index) = 0;
    // Removes a child: destroyed when the container destroys its children (after the current message
    // when it defers that), else handed back. Null in both the destroyed and the not-found case.
    virtual std::unique_ptr<CControlUI> Remove(CControlUI* control) = 0;
    virtual std::unique_ptr<CControlUI> RemoveAt(int index) = 0;
    // Removes every child: destroyed (or destroying deferred) by a container that owns them, else only
    // forgotten.
    virtual void RemoveAll() = 0;

  protected:
    ~IContainerUI() = default;
};

}  // namespace SkinUI
