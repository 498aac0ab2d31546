#pragma once
// IProvideClassInfo2: the control's class entry from the type library
// embedded in its module, and the event interface a container connects
// to, read from that entry ([default, source]).

#include <ocidl.h>
#include <wrl/client.h>

#include "comkit/control_part.h"

namespace vtq::comkit {

class ClassInfoPart final : public ControlPart<IProvideClassInfo2> {
 public:
  explicit ClassInfoPart(ControlCore& core);

  STDMETHODIMP GetClassInfo(ITypeInfo** out) override;
  STDMETHODIMP GetGUID(DWORD kind, GUID* out) override;

 private:
  Microsoft::WRL::ComPtr<ITypeInfo> coclass_;
};

}  // namespace vtq::comkit
