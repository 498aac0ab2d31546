#pragma once
// Every interface a form container needs of a control beyond its own
// dispatch and events, over one shared ControlCore.

#include <windows.h>
#include <unknwn.h>

#include "comkit/class_info_part.h"
#include "comkit/control_core.h"
#include "comkit/in_place_parts.h"
#include "comkit/ole_control_part.h"
#include "comkit/ole_object_part.h"
#include "comkit/persist_stream_part.h"
#include "comkit/view_object_part.h"

namespace vtq::comkit {

class ControlParts {
 public:
  explicit ControlParts(ControlCore& core);
  ControlParts(const ControlParts&) = delete;
  ControlParts& operator=(const ControlParts&) = delete;

  // The part that answers riid, without a reference; null for interfaces
  // that are not the control's (IObjectSafety among them: the control
  // writes files where it is told and does not claim to be safe).
  IUnknown* Find(REFIID riid);

 private:
  OleObjectPart oleObject_;
  InPlaceObjectPart inPlaceObject_;
  InPlaceActiveObjectPart inPlaceActiveObject_;
  ViewObjectPart viewObject_;
  PersistStreamPart persistStream_;
  OleControlPart oleControl_;
  ClassInfoPart classInfo_;
};

}  // namespace vtq::comkit
