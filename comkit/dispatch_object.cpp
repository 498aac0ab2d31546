#include "comkit/dispatch_object.h"

#include "base/win/automation_values.h"

namespace vtq::comkit {

Microsoft::WRL::ComPtr<ITypeInfo> OwnTypeInfo(REFIID iid) {
  Microsoft::WRL::ComPtr<ITypeLib> library;
  Microsoft::WRL::ComPtr<ITypeInfo> info;
  const std::wstring path = ModulePath();
  if (SUCCEEDED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library))) {
    library->GetTypeInfoOfGuid(iid, &info);
  }
  return info;
}

std::wstring LibraryName(ITypeInfo* info) {
  Microsoft::WRL::ComPtr<ITypeLib> library;
  UINT index = 0;
  BSTR name = nullptr;
  if (!info || FAILED(info->GetContainingTypeLib(&library, &index)) ||
      FAILED(library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr)))
    return {};
  const base::win::Bstr owned(name);
  return owned.Text();
}

namespace {

// Which parameters of the member are outputs (by position, first = 0).
std::vector<bool> OutputParameters(ITypeInfo* info, DISPID member, WORD flags) {
  std::vector<bool> outputs;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr)))
    return outputs;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func)))
      continue;
    if (func->memid == member && (func->invkind & flags)) {
      for (SHORT p = 0; p < func->cParams; ++p) {
        outputs.push_back((func->lprgelemdescParam[p].paramdesc.wParamFlags & PARAMFLAG_FOUT) != 0);
      }
      info->ReleaseFuncDesc(func);
      break;
    }
    info->ReleaseFuncDesc(func);
  }
  info->ReleaseTypeAttr(attr);
  return outputs;
}

}  // namespace

InvokeArguments::InvokeArguments(ITypeInfo* info, DISPID member, WORD flags,
                                 const DISPPARAMS& params)
    : values_(params.cArgs), params_(params) {
  const std::vector<bool> outputs = OutputParameters(info, member, flags);
  const UINT count = params.cArgs;
  copies_.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    // rgvarg holds the arguments in reverse order; named arguments
    // (property puts) come first and stand for the last parameter.
    const UINT position =
        i < params.cNamedArgs && params.rgdispidNamedArgs && params.rgdispidNamedArgs[i] >= 0
            ? static_cast<UINT>(params.rgdispidNamedArgs[i])
            : count - 1 - i;
    const bool output = position < outputs.size() && outputs[position];
    const VARIANT& arg = params.rgvarg[i];
    base::win::Variant copy;
    if (!output && (V_VT(&arg) & VT_BYREF) &&
        SUCCEEDED(VariantCopyInd(copy.Get(), const_cast<VARIANT*>(&arg)))) {
      values_[i] = *copy;  // shallow: copies_ owns it
      copies_.push_back(std::move(copy));
    } else {
      values_[i] = arg;  // shallow: the caller's, never cleared here
    }
  }
  params_.rgvarg = values_.empty() ? nullptr : values_.data();
}

HRESULT WithException(HRESULT hr, EXCEPINFO* excepInfo) {
  if (SUCCEEDED(hr) || hr == DISP_E_EXCEPTION || !excepInfo)
    return hr;
  Microsoft::WRL::ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, &info) != S_OK || !info)
    return hr;
  *excepInfo = EXCEPINFO{};
  info->GetSource(&excepInfo->bstrSource);
  info->GetDescription(&excepInfo->bstrDescription);
  info->GetHelpFile(&excepInfo->bstrHelpFile);
  excepInfo->scode = hr;
  return DISP_E_EXCEPTION;
}

}  // namespace vtq::comkit
