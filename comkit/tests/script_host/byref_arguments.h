#pragma once
// An event's arguments as a script handler can change them. A server
// raises a dispinterface event with typed by-reference arguments
// (VT_BOOL|VT_BYREF for a Cancel), but VBScript only writes back through
// VT_BYREF|VT_VARIANT: each typed by-reference argument is handed over as
// a reference to a temporary variant holding its value, and WriteBack()
// puts what the handler left there, converted to the argument's type,
// into the server's variable.

#include <windows.h>
#include <oaidl.h>

#include <vector>

namespace vtq::script_host {

class ByRefArguments {
 public:
  explicit ByRefArguments(const DISPPARAMS& params);
  ~ByRefArguments();
  ByRefArguments(const ByRefArguments&) = delete;
  ByRefArguments& operator=(const ByRefArguments&) = delete;

  DISPPARAMS* Params() { return &params_; }
  // A value the handler left that cannot take the argument's type leaves
  // the server's variable as it was.
  void WriteBack();

 private:
  const DISPPARAMS& original_;
  std::vector<VARIANT> passed_;     // what the handler gets
  std::vector<VARIANT> temporary_;  // the values the references point at
  std::vector<bool> wrapped_;
  DISPPARAMS params_;
};

}  // namespace vtq::script_host
