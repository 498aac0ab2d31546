#include "comkit/source_interface.h"

namespace vtq::comkit {

using Microsoft::WRL::ComPtr;

ComPtr<ITypeInfo> DefaultSourceInfo(ITypeInfo* coclass) {
  ComPtr<ITypeInfo> found;
  TYPEATTR* attr = nullptr;
  if (!coclass || FAILED(coclass->GetTypeAttr(&attr)))
    return found;
  if (attr->typekind == TKIND_COCLASS) {
    for (UINT i = 0; i < attr->cImplTypes && !found; ++i) {
      INT flags = 0;
      HREFTYPE ref = 0;
      constexpr INT kDefaultSource = IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
      if (SUCCEEDED(coclass->GetImplTypeFlags(i, &flags)) &&
          (flags & kDefaultSource) == kDefaultSource &&
          SUCCEEDED(coclass->GetRefTypeOfImplType(i, &ref))) {
        coclass->GetRefTypeInfo(ref, &found);
      }
    }
  }
  coclass->ReleaseTypeAttr(attr);
  return found;
}

IID DefaultSourceOf(ITypeInfo* coclass) {
  IID iid = IID_NULL;
  const ComPtr<ITypeInfo> events = DefaultSourceInfo(coclass);
  TYPEATTR* attr = nullptr;
  if (events && SUCCEEDED(events->GetTypeAttr(&attr))) {
    iid = attr->guid;
    events->ReleaseTypeAttr(attr);
  }
  return iid;
}

}  // namespace vtq::comkit
