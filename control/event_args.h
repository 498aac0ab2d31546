#pragma once
// Event arguments as the event interfaces declare them, for comkit's
// FireEvent: 16- and 32-bit integers by value, Booleans by reference.

#include <windows.h>
#include <oaidl.h>

#include <cstdint>

namespace vtq::control {

inline VARIANT ShortArg(int16_t value) {
  VARIANT arg;
  VariantInit(&arg);
  V_VT(&arg) = VT_I2;
  V_I2(&arg) = value;
  return arg;
}

inline VARIANT LongArg(int32_t value) {
  VARIANT arg;
  VariantInit(&arg);
  V_VT(&arg) = VT_I4;
  V_I4(&arg) = value;
  return arg;
}

}  // namespace vtq::control
