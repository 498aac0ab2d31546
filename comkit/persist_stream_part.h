#pragma once
// IPersistStreamInit (and IPersistStream, its prefix): the control's state
// in the container's stream (control_stream.h). The only state is the
// extent, and the control keeps its fixed size whatever the stream says:
// a stream with another extent loads, and leaves the control dirty, so
// that the container's next save records the real size.

#include <ocidl.h>

#include "comkit/com_barrier.h"
#include "comkit/control_part.h"

namespace vtq::comkit {

class PersistStreamPart final : public ControlPart<IPersistStreamInit> {
 public:
  using ControlPart::ControlPart;

  STDMETHODIMP GetClassID(CLSID* out) override;
  STDMETHODIMP IsDirty() override try { return core_.Dirty() ? S_OK : S_FALSE; } catch (...) {
    return FailCurrentException(L"IsDirty");
  }
  STDMETHODIMP Load(LPSTREAM stream) override;
  STDMETHODIMP Save(LPSTREAM stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override;
};

}  // namespace vtq::comkit
