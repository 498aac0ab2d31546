#include "comkit/control_parts.h"

namespace vtq::comkit {

ControlParts::ControlParts(ControlCore& core)
    : oleObject_(core),
      inPlaceObject_(core),
      inPlaceActiveObject_(core),
      viewObject_(core),
      persistStream_(core),
      oleControl_(core),
      classInfo_(core) {}

IUnknown* ControlParts::Find(REFIID riid) {
  if (riid == IID_IOleObject)
    return &oleObject_;
  if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow)
    return &inPlaceObject_;
  if (riid == IID_IOleInPlaceActiveObject)
    return &inPlaceActiveObject_;
  if (riid == IID_IViewObject || riid == IID_IViewObject2)
    return &viewObject_;
  // IPersistStream's members are the first of IPersistStreamInit's.
  if (riid == IID_IPersistStreamInit || riid == IID_IPersistStream || riid == IID_IPersist)
    return &persistStream_;
  if (riid == IID_IOleControl)
    return &oleControl_;
  if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2)
    return &classInfo_;
  return nullptr;
}

}  // namespace vtq::comkit
