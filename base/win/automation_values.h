#pragma once
// Owners of the automation values: a BSTR freed once, a VARIANT cleared
// once. Neither can be copied; both can be moved, and both hand their value
// on with Take() (to an [out] parameter, whose caller frees it then).

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

#include "base/scoped_handle.h"

namespace vtq::base::win {

struct BstrTraits {
  using Handle = BSTR;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle text) noexcept { SysFreeString(text); }
};

class Bstr : public ScopedHandle<BstrTraits> {
 public:
  using ScopedHandle::ScopedHandle;
  // A new BSTR with the text; none (a null BSTR) when the system has no
  // memory for it.
  static Bstr Of(std::wstring_view text) {
    return Bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
  }
  // The text (a null BSTR is the empty text, as automation reads it).
  std::wstring Text() const {
    return Get() ? std::wstring(Get(), SysStringLen(Get())) : std::wstring();
  }
};

class Variant {
 public:
  Variant() noexcept { VariantInit(&value_); }
  // Adopts a value whose clearing falls to this owner.
  explicit Variant(const VARIANT& owned) noexcept : value_(owned) {}
  ~Variant() { VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&& other) noexcept : value_(other.Take()) {}
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      VariantClear(&value_);
      value_ = other.Take();
    }
    return *this;
  }

  VARIANT* Get() noexcept { return &value_; }
  const VARIANT& operator*() const noexcept { return value_; }
  // For calls that write a new value through a pointer: what was held is
  // cleared first.
  VARIANT* Receive() noexcept {
    VariantClear(&value_);
    return &value_;
  }
  // Gives the value to the caller; this owner holds Empty afterwards.
  [[nodiscard]] VARIANT Take() noexcept {
    VARIANT given = value_;
    VariantInit(&value_);
    return given;
  }

 private:
  VARIANT value_;
};

}  // namespace vtq::base::win
