#include "control/by_ref_arguments.h"

#include <wrl/client.h>

namespace vtq::control {
namespace {

// The variant type a typed by-reference parameter points to; VT_EMPTY for
// a parameter that is no typed pointer (or points to a variant, which
// DispInvoke passes on as it is). Enumerations are 32-bit integers.
VARTYPE PointedType(ITypeInfo* info, const TYPEDESC& type) {
  if (type.vt != VT_PTR || !type.lptdesc)
    return VT_EMPTY;
  const TYPEDESC& pointed = *type.lptdesc;
  if (pointed.vt == VT_USERDEFINED) {
    Microsoft::WRL::ComPtr<ITypeInfo> referred;
    TYPEATTR* attr = nullptr;
    VARTYPE vt = VT_EMPTY;
    if (SUCCEEDED(info->GetRefTypeInfo(pointed.hreftype, &referred)) &&
        SUCCEEDED(referred->GetTypeAttr(&attr))) {
      if (attr->typekind == TKIND_ENUM)
        vt = VT_I4;
      referred->ReleaseTypeAttr(attr);
    }
    return vt;
  }
  switch (pointed.vt) {
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
    case VT_BSTR:
    case VT_R8:
    case VT_CY:
      return pointed.vt;
    default:
      return VT_EMPTY;
  }
}

// The declared by-reference types of the member's parameters, by position.
std::vector<VARTYPE> ParameterTypes(ITypeInfo* info, DISPID member, WORD flags) {
  std::vector<VARTYPE> types;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr)))
    return types;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func)))
      continue;
    const bool found = func->memid == member && (func->invkind & flags);
    if (found) {
      for (SHORT p = 0; p < func->cParams; ++p)
        types.push_back(PointedType(info, func->lprgelemdescParam[p].tdesc));
    }
    info->ReleaseFuncDesc(func);
    if (found)
      break;
  }
  info->ReleaseTypeAttr(attr);
  return types;
}

}  // namespace

ByRefArguments::ByRefArguments(ITypeInfo* info, DISPID member, WORD flags, const DISPPARAMS& params)
    : args_(params.rgvarg, params.rgvarg + params.cArgs), params_(params) {
  const std::vector<VARTYPE> types = ParameterTypes(info, member, flags);
  const UINT count = params.cArgs;
  for (UINT i = 0; i < count; ++i) {
    // rgvarg holds the arguments last first; named arguments (a property
    // put's value) come first and stand for the last parameter.
    const UINT position =
        i < params.cNamedArgs && params.rgdispidNamedArgs && params.rgdispidNamedArgs[i] >= 0
            ? static_cast<UINT>(params.rgdispidNamedArgs[i])
            : (i < params.cNamedArgs ? static_cast<UINT>(types.size()) - 1 : count - 1 - i);
    VARIANT& arg = args_[i];
    if (position >= types.size() || types[position] == VT_EMPTY ||
        V_VT(&arg) != (VT_BYREF | VT_VARIANT) || !V_VARIANTREF(&arg)) {
      continue;
    }
    auto converted = std::make_unique<Converted>();
    converted->callers = V_VARIANTREF(&arg);
    if (FAILED(VariantChangeType(converted->value.Get(), converted->callers, 0, types[position])))
      continue;  // DispInvoke reports the mismatch
    V_VT(&arg) = VT_BYREF | types[position];
    // Every by-reference member of the union sits at the same place.
    V_BYREF(&arg) = &V_I4(converted->value.Get());
    converted_.push_back(std::move(converted));
  }
  params_.rgvarg = args_.empty() ? nullptr : args_.data();
}

ByRefArguments::~ByRefArguments() {
  for (const auto& converted : converted_) {
    if (SUCCEEDED(VariantClear(converted->callers)))
      *converted->callers = converted->value.Take();  // the caller takes it over
  }
}

}  // namespace vtq::control
