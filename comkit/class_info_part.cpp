#include "comkit/class_info_part.h"

#include "comkit/com_barrier.h"
#include "comkit/dispatch_object.h"
#include "comkit/source_interface.h"

namespace vtq::comkit {

ClassInfoPart::ClassInfoPart(ControlCore& core)
    : ControlPart(core), coclass_(OwnTypeInfo(*core.Look().clsid)) {}

STDMETHODIMP ClassInfoPart::GetClassInfo(ITypeInfo** out) try {
  if (!out)
    return E_POINTER;
  *out = nullptr;
  if (!coclass_)
    return E_FAIL;
  return coclass_.CopyTo(out);
} catch (...) {
  return FailCurrentException(L"GetClassInfo");
}

STDMETHODIMP ClassInfoPart::GetGUID(DWORD kind, GUID* out) try {
  if (!out)
    return E_POINTER;
  *out = GUID_NULL;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
    return E_INVALIDARG;
  if (!coclass_)
    return E_FAIL;
  *out = DefaultSourceOf(coclass_.Get());
  return *out == GUID_NULL ? E_FAIL : S_OK;
} catch (...) {
  return FailCurrentException(L"GetGUID");
}

}  // namespace vtq::comkit
