#pragma once
// Script clients pass variables by reference as variants (VT_BYREF |
// VT_VARIANT), which the system's DispInvoke does not convert into a typed
// by-reference parameter (AftFileSize*, as FragmentSize's let takes its
// argument): the call fails with a type mismatch. ControlDispatch converts
// such an argument into a variable of the declared type before the call
// and writes the member's value back into the caller's variable after it.

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <vector>

#include "base/win/automation_values.h"
#include "comkit/dispatch_object.h"

namespace vtq::control {

class ByRefArguments {
 public:
  ByRefArguments(ITypeInfo* info, DISPID member, WORD flags, const DISPPARAMS& params);
  // Writes every converted variable back to its caller.
  ~ByRefArguments();
  ByRefArguments(const ByRefArguments&) = delete;
  ByRefArguments& operator=(const ByRefArguments&) = delete;
  DISPPARAMS* Params() { return &params_; }

 private:
  struct Converted {
    VARIANT* callers;          // the caller's variable
    base::win::Variant value;  // of the declared type, what the member sees
  };
  std::vector<VARIANT> args_;
  std::vector<std::unique_ptr<Converted>> converted_;
  DISPPARAMS params_;
};

template <class Interface, class... Further>
class ControlDispatch : public comkit::DispatchObject<Interface, Further...> {
 public:
  STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override {
    Microsoft::WRL::ComPtr<ITypeInfo> info;
    if (!params || FAILED(this->GetTypeInfo(0, lcid, &info)))
      return Base::Invoke(member, riid, lcid, flags, params, result, excepInfo, argErr);
    ByRefArguments args(info.Get(), member, flags, *params);
    return Base::Invoke(member, riid, lcid, flags, args.Params(), result, excepInfo, argErr);
  }

 protected:
  ~ControlDispatch() override = default;

 private:
  using Base = comkit::DispatchObject<Interface, Further...>;
};

}  // namespace vtq::control
