#include "comkit/tests/script_host/byref_arguments.h"

namespace vtq::script_host {

namespace {

bool NeedsWrapping(const VARIANT& arg) {
  const VARTYPE vt = V_VT(&arg);
  return (vt & VT_BYREF) && !(vt & VT_ARRAY) && (vt & VT_TYPEMASK) != VT_VARIANT &&
         V_BYREF(&arg) != nullptr;
}

// Stores `value` (already of the argument's type) through the argument's
// reference, giving up what the reference held before.
void Store(const VARIANT& arg, VARIANT& value) {
  switch (V_VT(&arg) & VT_TYPEMASK) {
    case VT_BOOL:
      *V_BOOLREF(&arg) = V_BOOL(&value);
      break;
    case VT_I1:
      *V_I1REF(&arg) = V_I1(&value);
      break;
    case VT_UI1:
      *V_UI1REF(&arg) = V_UI1(&value);
      break;
    case VT_I2:
      *V_I2REF(&arg) = V_I2(&value);
      break;
    case VT_UI2:
      *V_UI2REF(&arg) = V_UI2(&value);
      break;
    case VT_I4:
      *V_I4REF(&arg) = V_I4(&value);
      break;
    case VT_UI4:
      *V_UI4REF(&arg) = V_UI4(&value);
      break;
    case VT_INT:
      *V_INTREF(&arg) = V_INT(&value);
      break;
    case VT_UINT:
      *V_UINTREF(&arg) = V_UINT(&value);
      break;
    case VT_R4:
      *V_R4REF(&arg) = V_R4(&value);
      break;
    case VT_R8:
      *V_R8REF(&arg) = V_R8(&value);
      break;
    case VT_CY:
      *V_CYREF(&arg) = V_CY(&value);
      break;
    case VT_DATE:
      *V_DATEREF(&arg) = V_DATE(&value);
      break;
    case VT_ERROR:
      *V_ERRORREF(&arg) = V_ERROR(&value);
      break;
    case VT_BSTR:
      SysFreeString(*V_BSTRREF(&arg));
      *V_BSTRREF(&arg) = V_BSTR(&value);
      V_VT(&value) = VT_EMPTY;  // now the server's
      break;
    case VT_DISPATCH:
      if (*V_DISPATCHREF(&arg))
        (*V_DISPATCHREF(&arg))->Release();
      *V_DISPATCHREF(&arg) = V_DISPATCH(&value);
      V_VT(&value) = VT_EMPTY;
      break;
    case VT_UNKNOWN:
      if (*V_UNKNOWNREF(&arg))
        (*V_UNKNOWNREF(&arg))->Release();
      *V_UNKNOWNREF(&arg) = V_UNKNOWN(&value);
      V_VT(&value) = VT_EMPTY;
      break;
    default:
      break;  // a type no event of ours passes by reference
  }
}

}  // namespace

ByRefArguments::ByRefArguments(const DISPPARAMS& params)
    : original_(params),
      passed_(params.cArgs),
      temporary_(params.cArgs),
      wrapped_(params.cArgs, false),
      params_(params) {
  for (UINT i = 0; i < params.cArgs; ++i) {
    VariantInit(&temporary_[i]);
    const VARIANT& arg = params.rgvarg[i];
    passed_[i] = arg;  // shallow: the server's
    if (NeedsWrapping(arg) &&
        SUCCEEDED(VariantCopyInd(&temporary_[i], const_cast<VARIANT*>(&arg)))) {
      wrapped_[i] = true;
      V_VT(&passed_[i]) = VT_BYREF | VT_VARIANT;
      V_VARIANTREF(&passed_[i]) = &temporary_[i];
    }
  }
  params_.rgvarg = passed_.empty() ? nullptr : passed_.data();
}

ByRefArguments::~ByRefArguments() {
  for (auto& value : temporary_)
    VariantClear(&value);
}

void ByRefArguments::WriteBack() {
  for (UINT i = 0; i < original_.cArgs; ++i) {
    if (!wrapped_[i])
      continue;
    const VARIANT& arg = original_.rgvarg[i];
    VARIANT converted;
    VariantInit(&converted);
    if (SUCCEEDED(VariantChangeType(&converted, &temporary_[i], 0, V_VT(&arg) & VT_TYPEMASK)))
      Store(arg, converted);
    VariantClear(&converted);
  }
}

}  // namespace vtq::script_host
