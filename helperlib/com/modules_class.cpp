// OrrinModules: parameter strings and fExist over orrin_core; the other
// general routines are declared members that are not provided yet.
#include "helperlib/com/classes.h"
#include "helperlib/com/dispatch_object.h"
#include "helperlib/com/orrinlib_interfaces.h"
#include "helperlib/core/file_exists.h"
#include "helperlib/core/param_string.h"

namespace orrin::com {
namespace {

HRESULT Count16(int count, std::wstring_view member, short* result) {
  if (count > SHRT_MAX)
    return Fail(DISP_E_OVERFLOW, member, L"Overflow");
  *result = static_cast<short>(count);
  return S_OK;
}

class ModulesObject final : public DispatchObject<_OrrinModules> {
 public:
  STDMETHODIMP GetParam(BSTR ToParse, short Param, VARIANT ParseChar, VARIANT DoTrim,
                        VARIANT* result) override {
    if (!result)
      return E_POINTER;
    VariantInit(result);
    std::optional<std::wstring> sep;
    std::optional<bool> trim;
    if (FAILED(OptionalText(ParseChar, sep)) || FAILED(OptionalBool(DoTrim, trim))) {
      return Fail(DISP_E_TYPEMISMATCH, L"GetParam", L"Type mismatch");
    }
    V_VT(result) = VT_BSTR;
    return ToBstr(orrin::GetParam(Text(ToParse), Param, sep.value_or(L","), trim.value_or(false)),
                  &V_BSTR(result));
  }

  STDMETHODIMP ParamCount(BSTR ToParse, VARIANT ParseChar, short* result) override {
    if (!result)
      return E_POINTER;
    std::optional<std::wstring> sep;
    if (FAILED(OptionalText(ParseChar, sep))) {
      return Fail(DISP_E_TYPEMISMATCH, L"ParamCount", L"Type mismatch");
    }
    return Count16(orrin::ParamCount(Text(ToParse), sep.value_or(L",")), L"ParamCount", result);
  }

  STDMETHODIMP SetParam(BSTR ToParse, short Param, BSTR NewValue, VARIANT ParseChar,
                        BSTR* result) override {
    if (!result)
      return E_POINTER;
    std::optional<std::wstring> sep;
    if (FAILED(OptionalText(ParseChar, sep))) {
      return Fail(DISP_E_TYPEMISMATCH, L"SetParam", L"Type mismatch");
    }
    return ToBstr(orrin::SetParam(Text(ToParse), Param, Text(NewValue), sep.value_or(L",")),
                  result);
  }

  STDMETHODIMP FindParam(BSTR ParamStr, BSTR sToFind, VARIANT ParseChar, VARIANT Srch,
                         VARIANT iStartParam, VARIANT CaseSensitive, short* result) override {
    if (!result)
      return E_POINTER;
    std::optional<std::wstring> sep;
    std::optional<long> method, start;
    std::optional<bool> cased;
    if (FAILED(OptionalText(ParseChar, sep)) || FAILED(OptionalLong(Srch, method)) ||
        FAILED(OptionalLong(iStartParam, start)) || FAILED(OptionalBool(CaseSensitive, cased))) {
      return Fail(DISP_E_TYPEMISMATCH, L"FindParam", L"Type mismatch");
    }
    const long how = method.value_or(fp_Contains);
    if (how < fp_Contains || how > fp_Is) {
      return Fail(E_INVALIDARG, L"FindParam", L"Invalid procedure call or argument");
    }
    FindOptions options{static_cast<SearchMethod>(how), static_cast<int>(start.value_or(1)),
                        cased.value_or(false)};
    return Count16(orrin::FindParam(Text(ParamStr), Text(sToFind), sep.value_or(L","), options),
                   L"FindParam", result);
  }

  STDMETHODIMP ChangeParamSep(BSTR ToParse, BSTR newParseChar, VARIANT oldParseChar,
                              BSTR* result) override {
    if (!result)
      return E_POINTER;
    std::optional<std::wstring> oldSep;
    if (FAILED(OptionalText(oldParseChar, oldSep))) {
      return Fail(DISP_E_TYPEMISMATCH, L"ChangeParamSep", L"Type mismatch");
    }
    return ToBstr(orrin::ChangeParamSep(Text(ToParse), Text(newParseChar), oldSep.value_or(L",")),
                  result);
  }

  STDMETHODIMP fExist(BSTR fName, VARIANT_BOOL* result) override {
    if (!result)
      return E_POINTER;
    *result = Bool(FileExists(Text(fName)));
    return S_OK;
  }

  // Declared members not provided yet.
  STDMETHODIMP LastFile(BSTR, BSTR, VARIANT, VARIANT) override {
    return NotImplemented(L"LastFile");
  }
  STDMETHODIMP RemoveORReg(VARIANT_BOOL*) override { return NotImplemented(L"RemoveORReg"); }
  STDMETHODIMP FileVersion(BSTR, VARIANT, BSTR* result) override {
    return Null(result, L"FileVersion");
  }
  STDMETHODIMP FCopy(BSTR, BSTR, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, fc_Return*) override {
    return NotImplemented(L"FCopy");
  }
  STDMETHODIMP FileTime(BSTR, VARIANT, VARIANT, DATE*) override {
    return NotImplemented(L"FileTime");
  }
  STDMETHODIMP GetDesktopRect(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*) override {
    return NotImplemented(L"GetDesktopRect");
  }
  STDMETHODIMP GetWord(BSTR, long, BSTR* result) override { return Null(result, L"GetWord"); }
  STDMETHODIMP ExecCmd(BSTR) override { return NotImplemented(L"ExecCmd"); }
  STDMETHODIMP GetINIString(BSTR, BSTR, BSTR, VARIANT, BSTR* result) override {
    return Null(result, L"GetINIString");
  }
  STDMETHODIMP CenterForm(IDispatch*) override { return NotImplemented(L"CenterForm"); }
  STDMETHODIMP CenterMDI(IDispatch*, IDispatch*) override { return NotImplemented(L"CenterMDI"); }
  STDMETHODIMP ParentPath(BSTR, VARIANT, VARIANT, BSTR* result) override {
    return Null(result, L"ParentPath");
  }
  STDMETHODIMP get_or_Version(BSTR* result) override { return Null(result, L"or_Version"); }
  STDMETHODIMP CompareVersions(BSTR, BSTR, VARIANT, cvReturn*) override {
    return NotImplemented(L"CompareVersions");
  }
  STDMETHODIMP DateForKW(short, short, VARIANT, BSTR* result) override {
    return Null(result, L"DateForKW");
  }
  STDMETHODIMP fillPict(IDispatch*, long, long, VARIANT, VARIANT_BOOL*) override {
    return NotImplemented(L"fillPict");
  }
  STDMETHODIMP GetKW(DATE, short*) override { return NotImplemented(L"GetKW"); }
  STDMETHODIMP getWinDir(BSTR* result) override { return Null(result, L"getWinDir"); }
  STDMETHODIMP getWinSysDir(BSTR* result) override { return Null(result, L"getWinSysDir"); }
  STDMETHODIMP lToRGB(VARIANT*, VARIANT*, VARIANT*, long) override {
    return NotImplemented(L"lToRGB");
  }
  STDMETHODIMP PutINIString(BSTR, BSTR, BSTR, BSTR) override {
    return NotImplemented(L"PutINIString");
  }
  STDMETHODIMP TileBG(IDispatch*, VARIANT, VARIANT_BOOL*) override {
    return NotImplemented(L"TileBG");
  }
  STDMETHODIMP CvtSec(long, VARIANT, BSTR* result) override { return Null(result, L"CvtSec"); }

 private:
  static HRESULT Null(BSTR* result, std::wstring_view member) {
    if (result)
      *result = nullptr;
    return NotImplemented(member);
  }
};

}  // namespace

HRESULT CreateOrrinModules(REFIID riid, void** out) {
  return DispatchObject<_OrrinModules>::Create<ModulesObject>(riid, out);
}

}  // namespace orrin::com
