#pragma once
// The frame of every class of the library: comkit's dispatch object over
// the type library embedded in this DLL, holding the library's shared
// instances for its life; creating one makes sure the library's help file is
// registered. A class derives from DispatchObject<its interface> and
// implements the members.

#include <memory>

#include "comkit/dispatch_object.h"
#include "helperlib/com/com_support.h"
#include "helperlib/com/shared_instances.h"

namespace orrin::com {

template <class Interface>
class DispatchObject : public vtq::comkit::DispatchObject<Interface> {
 public:
  DispatchObject() : shared_(SharedInstances::Acquire()) { RegisterLibraryHelp(); }

 protected:
  SharedInstances& Shared() { return *shared_; }

 private:
  std::shared_ptr<SharedInstances> shared_;
};

}  // namespace orrin::com
