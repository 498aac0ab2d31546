// OrrinModules: the general routines, over orrin_core. Form arguments are
// any objects with an hWnd property.
#include <olectl.h>

#include <utility>

#include "helperlib/com/classes.h"
#include "helperlib/com/dispatch_object.h"
#include "helperlib/com/orrinlib_interfaces.h"
#include "helperlib/core/file_exists.h"
#include "helperlib/core/param_string.h"
#include "helperlib/core/calendar_week.h"
#include "helperlib/core/colour.h"
#include "helperlib/core/exec_command.h"
#include "helperlib/core/file_copy.h"
#include "helperlib/core/file_time.h"
#include "helperlib/core/file_version.h"
#include "helperlib/core/help_registration.h"
#include "helperlib/core/ini_file.h"
#include "helperlib/core/path_words.h"
#include "helperlib/core/recent_files.h"
#include "helperlib/core/seconds_text.h"
#include "helperlib/core/shell_link.h"
#include "helperlib/core/version_compare.h"
#include "helperlib/core/window_paint.h"
#include "helperlib/core/window_place.h"

namespace orrin::com {
namespace {

constexpr long kCurrentUserRoot = -2147483647;

HKEY RootKey(long root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(root));
}

HRESULT Count16(int count, std::wstring_view member, short* result) {
  if (count > SHRT_MAX)
    return Fail(DISP_E_OVERFLOW, member, L"Overflow");
  *result = static_cast<short>(count);
  return S_OK;
}

class ModulesObject final : public DispatchObject<_OrrinModules> {
 public:
  STDMETHODIMP GetParam(BSTR ToParse, short Param, VARIANT ParseChar, VARIANT DoTrim,
                        VARIANT* result) override try {
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
  } catch (...) {
    return FailUnexpected(L"GetParam");
  }

  STDMETHODIMP ParamCount(BSTR ToParse, VARIANT ParseChar, short* result) override try {
    if (!result)
      return E_POINTER;
    std::optional<std::wstring> sep;
    if (FAILED(OptionalText(ParseChar, sep))) {
      return Fail(DISP_E_TYPEMISMATCH, L"ParamCount", L"Type mismatch");
    }
    return Count16(orrin::ParamCount(Text(ToParse), sep.value_or(L",")), L"ParamCount", result);
  } catch (...) {
    return FailUnexpected(L"ParamCount");
  }

  STDMETHODIMP SetParam(BSTR ToParse, short Param, BSTR NewValue, VARIANT ParseChar,
                        BSTR* result) override try {
    if (!result)
      return E_POINTER;
    std::optional<std::wstring> sep;
    if (FAILED(OptionalText(ParseChar, sep))) {
      return Fail(DISP_E_TYPEMISMATCH, L"SetParam", L"Type mismatch");
    }
    return ToBstr(orrin::SetParam(Text(ToParse), Param, Text(NewValue), sep.value_or(L",")),
                  result);
  } catch (...) {
    return FailUnexpected(L"SetParam");
  }

  STDMETHODIMP FindParam(BSTR ParamStr, BSTR sToFind, VARIANT ParseChar, VARIANT Srch,
                         VARIANT iStartParam, VARIANT CaseSensitive, short* result) override try {
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
  } catch (...) {
    return FailUnexpected(L"FindParam");
  }

  STDMETHODIMP ChangeParamSep(BSTR ToParse, BSTR newParseChar, VARIANT oldParseChar,
                              BSTR* result) override try {
    if (!result)
      return E_POINTER;
    std::optional<std::wstring> oldSep;
    if (FAILED(OptionalText(oldParseChar, oldSep))) {
      return Fail(DISP_E_TYPEMISMATCH, L"ChangeParamSep", L"Type mismatch");
    }
    return ToBstr(orrin::ChangeParamSep(Text(ToParse), Text(newParseChar), oldSep.value_or(L",")),
                  result);
  } catch (...) {
    return FailUnexpected(L"ChangeParamSep");
  }

  STDMETHODIMP fExist(BSTR fName, VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = Bool(FileExists(Text(fName)));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"fExist");
  }

  STDMETHODIMP LastFile(BSTR sText, BSTR sSection, VARIANT iMaxItems, VARIANT hKey) override try {
    std::optional<long> maxItems, root;
    if (FAILED(OptionalLong(iMaxItems, maxItems)) || FAILED(OptionalLong(hKey, root)))
      return Fail(DISP_E_TYPEMISMATCH, L"LastFile", L"Type mismatch");
    Registry registry;
    AddRecentFile(registry, RootKey(root.value_or(kCurrentUserRoot)), Text(sSection), Text(sText),
                  static_cast<int>(maxItems.value_or(kDefaultRecentFiles)));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"LastFile");
  }

  STDMETHODIMP RemoveORReg(VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = Bool(RemoveHelp(LibraryVersion()));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"RemoveORReg");
  }

  STDMETHODIMP FileVersion(BSTR sFile, VARIANT toReturn, BSTR* result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    std::optional<long> item;
    if (FAILED(OptionalLong(toReturn, item)))
      return Fail(DISP_E_TYPEMISMATCH, L"FileVersion", L"Type mismatch");
    const long which = item.value_or(fv_FileVersion);
    if (which < fv_CompanyName || which > fv_ProductVersion)
      return InvalidArgument(L"FileVersion");
    return ToBstr(FileVersionString(Text(sFile), static_cast<VersionItem>(which)), result);
  } catch (...) {
    return FailUnexpected(L"FileVersion");
  }

  STDMETHODIMP FCopy(BSTR fSource, BSTR fDestination, VARIANT fOptions, VARIANT sReplaceMsg,
                     VARIANT sMsgCaption, VARIANT oProgress, VARIANT PrintProgTo,
                     fc_Return* result) override try {
    if (!result)
      return E_POINTER;
    std::optional<long> flags, progressTo;
    std::optional<std::wstring> message, caption;
    if (FAILED(OptionalLong(fOptions, flags)) || FAILED(OptionalText(sReplaceMsg, message)) ||
        FAILED(OptionalText(sMsgCaption, caption)) || FAILED(OptionalLong(PrintProgTo, progressTo)))
      return Fail(DISP_E_TYPEMISMATCH, L"FCopy", L"Type mismatch");
    Microsoft::WRL::ComPtr<IDispatch> progress;
    if (!IsMissing(oProgress)) {
      vtq::base::win::Variant object;
      if (FAILED(VariantCopyInd(object.Get(), &oProgress)) ||
          (V_VT(object.Get()) != VT_DISPATCH && V_VT(object.Get()) != VT_UNKNOWN))
        return Fail(DISP_E_TYPEMISMATCH, L"FCopy", L"Type mismatch");
      if (V_UNKNOWN(object.Get()))
        V_UNKNOWN(object.Get())->QueryInterface(IID_PPV_ARGS(&progress));
    }
    const long to = progressTo.value_or(fc_UseCaption);
    if (to < fc_UseCaption || to > fc_UseValue)
      return InvalidArgument(L"FCopy");
    const std::wstring source = Text(fSource), destination = Text(fDestination);
    CopyOptions options;
    options.flags = static_cast<unsigned>(flags.value_or(fc_replace));
    options.askReplace = [&] {
      return MessageBoxW(GetActiveWindow(),
                         message
                             .value_or(L"The source file already exists. Should it be "
                                       L"replaced by the new file?")
                             .c_str(),
                         caption.value_or(L"Replace current file?").c_str(),
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
    if (progress) {
      const std::wstring name = orrin::ParentPath(source, PathPart::kLast);
      options.progress = [&, name](int percent) {
        vtq::base::win::Variant value;
        if (to == fc_UseValue) {
          V_VT(value.Get()) = VT_I4;
          V_I4(value.Get()) = percent;
        } else {
          V_VT(value.Get()) = VT_BSTR;
          V_BSTR(value.Get()) = SysAllocString(
              (L"Copying " + name + L": " + std::to_wstring(percent) + L"%").c_str());
        }
        PutProperty(progress.Get(),
                    to == fc_UseCaption ? L"Caption"
                    : to == fc_UseText  ? L"Text"
                                        : L"Value",
                    *value);
      };
    }
    *result = static_cast<fc_Return>(CopyWithOptions(source, destination, options));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"FCopy");
  }

  STDMETHODIMP FileTime(BSTR sFile, VARIANT setFromFile, VARIANT DateType, DATE* result) override
      try {
    if (!result)
      return E_POINTER;
    *result = 0;
    std::optional<long> type;
    if (FAILED(OptionalLong(DateType, type)))
      return Fail(DISP_E_TYPEMISMATCH, L"FileTime", L"Type mismatch");
    const long kind = type.value_or(ft_LastWritten);
    if (kind < ft_Created || kind > ft_SetAll)
      return InvalidArgument(L"FileTime");
    const std::wstring file = Text(sFile);
    const auto which = static_cast<FileTimeKind>(kind);
    if (!IsMissing(setFromFile)) {
      vtq::base::win::Variant from;
      VariantCopyInd(from.Get(), &setFromFile);
      bool set = false;
      if (V_VT(from.Get()) == VT_BSTR && FileExists(Text(V_BSTR(from.Get())))) {
        set = CopyFileTime(file, which, Text(V_BSTR(from.Get())));
      } else {
        vtq::base::win::Variant date;
        if (FAILED(VariantChangeType(date.Get(), from.Get(), 0, VT_DATE)))
          return Fail(DISP_E_TYPEMISMATCH, L"FileTime", L"Type mismatch");
        set = WriteFileTime(file, which, V_DATE(date.Get()));
      }
      if (!set)
        return FailNumber(75, L"OrrinModules32:FileTime", L"Path/File access error");
    }
    const auto time = ReadFileTime(file, which);
    if (!time)
      return FailNumber(53, L"OrrinModules32:FileTime", L"File not found");
    *result = *time;
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"FileTime");
  }

  STDMETHODIMP GetDesktopRect(VARIANT* lLeft, VARIANT* lTop, VARIANT* lWidth, VARIANT* lHeight,
                              VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = VARIANT_FALSE;
    const auto area = DesktopWorkArea();
    if (!area) {
      return FailWithSource(E_FAIL, L"GetDesktopRect",
                            L"Call to SystemParametersInfo in user32.dll failed! DLL might be "
                            L"corrupt, missing or outdated.");
    }
    for (const auto& [out, value] : {std::pair{lLeft, area->left}, std::pair{lTop, area->top},
                                     std::pair{lWidth, area->right - area->left},
                                     std::pair{lHeight, area->bottom - area->top}}) {
      if (const HRESULT hr = SetOutputLong(out, value); FAILED(hr))
        return Fail(hr, L"GetDesktopRect", L"Type mismatch");
    }
    *result = VARIANT_TRUE;
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"GetDesktopRect");
  }

  STDMETHODIMP GetWord(BSTR ToParse, long lWord, BSTR* result) override try {
    return ToBstr(orrin::GetWord(Text(ToParse), lWord), result);
  } catch (...) {
    return FailUnexpected(L"GetWord");
  }

  STDMETHODIMP ExecCmd(BSTR cmdline) override try {
    if (const DWORD error = RunAndWait(Text(cmdline)); error != 0)
      return FailNumber(53, L"OrrinModules32:ExecCmd", SystemErrorText(error));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"ExecCmd");
  }

  STDMETHODIMP GetINIString(BSTR sSection, BSTR sKey, BSTR sFile, VARIANT sDefault,
                            BSTR* result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    std::optional<std::wstring> fallback;
    if (FAILED(OptionalText(sDefault, fallback)))
      return Fail(DISP_E_TYPEMISMATCH, L"GetINIString", L"Type mismatch");
    return ToBstr(ReadIniString(Text(sSection), Text(sKey), Text(sFile), fallback.value_or(L"")),
                  result);
  } catch (...) {
    return FailUnexpected(L"GetINIString");
  }

  STDMETHODIMP CenterForm(IDispatch* fForm) override try {
    HWND window = nullptr;
    if (FAILED(WindowOf(fForm, window)))
      return NotAForm(L"CenterForm");
    MoveToAnchor(window, Anchor::kCenter);
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"CenterForm");
  }

  STDMETHODIMP CenterMDI(IDispatch* fForm, IDispatch* fmdiForm) override try {
    HWND child = nullptr, parent = nullptr;
    if (FAILED(WindowOf(fForm, child)) || FAILED(WindowOf(fmdiForm, parent)))
      return NotAForm(L"CenterMDI");
    // An MDI child lives in the frame's client window, not the frame itself.
    const HWND container =
        (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) ? GetParent(child) : parent;
    CenterOver(child, container ? container : parent);
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"CenterMDI");
  }

  STDMETHODIMP ParentPath(BSTR sPath, VARIANT iReturn, VARIANT sSepChar, BSTR* result) override
      try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    std::optional<long> part;
    std::optional<std::wstring> sep;
    if (FAILED(OptionalLong(iReturn, part)) || FAILED(OptionalText(sSepChar, sep)))
      return Fail(DISP_E_TYPEMISMATCH, L"ParentPath", L"Type mismatch");
    if (part.value_or(pp_ReturnLeft) != pp_ReturnLeft && *part != pp_ReturnCut)
      return InvalidArgument(L"ParentPath");
    return ToBstr(orrin::ParentPath(Text(sPath), static_cast<PathPart>(part.value_or(0)),
                                    sep.value_or(L"\\")),
                  result);
  } catch (...) {
    return FailUnexpected(L"ParentPath");
  }

  STDMETHODIMP get_or_Version(BSTR* result) override try {
    return ToBstr(LibraryVersion(), result);
  } catch (...) {
    return FailUnexpected(L"or_Version");
  }

  STDMETHODIMP CompareVersions(BSTR x, BSTR y, VARIANT parseStr, cvReturn* result) override try {
    if (!result)
      return E_POINTER;
    std::optional<std::wstring> sep;
    if (FAILED(OptionalText(parseStr, sep)))
      return Fail(DISP_E_TYPEMISMATCH, L"CompareVersions", L"Type mismatch");
    *result = static_cast<cvReturn>(orrin::CompareVersions(Text(x), Text(y), sep.value_or(L".")));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"CompareVersions");
  }

  STDMETHODIMP DateForKW(short kw, short Year, VARIANT GetLastDay, BSTR* result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    std::optional<bool> last;
    if (FAILED(OptionalBool(GetLastDay, last)))
      return Fail(DISP_E_TYPEMISMATCH, L"DateForKW", L"Type mismatch");
    if (Year < 100 || Year > 9998)
      return InvalidArgument(L"DateForKW");
    const auto day = DayOfWeek(kw, Year, last.value_or(false));
    if (!day)
      return InvalidArgument(L"DateForKW");
    // The date as the caller's locale writes it, as a conversion of the
    // date to text does.
    return VarBstrFromDate(static_cast<DATE>(DayNumber(*day)), LOCALE_USER_DEFAULT, 0, result);
  } catch (...) {
    return FailUnexpected(L"DateForKW");
  }

  STDMETHODIMP fillPict(IDispatch* x, long rgb1, long rgb2, VARIANT LineHeight,
                        VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = VARIANT_FALSE;
    std::optional<long> height;
    if (FAILED(OptionalLong(LineHeight, height)))
      return Fail(DISP_E_TYPEMISMATCH, L"fillPict", L"Type mismatch");
    HWND window = nullptr;
    if (FAILED(WindowOf(x, window)))
      return NotAForm(L"fillPict");
    COLORREF top = 0, bottom = 0;
    if (FAILED(OleTranslateColor(static_cast<OLE_COLOR>(rgb1), nullptr, &top)) ||
        FAILED(OleTranslateColor(static_cast<OLE_COLOR>(rgb2), nullptr, &bottom)))
      return InvalidArgument(L"fillPict");
    *result = Bool(FillGradient(window, top, bottom, static_cast<int>(height.value_or(1))));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"fillPict");
  }

  STDMETHODIMP GetKW(DATE x, short* result) override try {
    if (!result)
      return E_POINTER;
    if (!(x > -657435.0 && x < 2958466.0))
      return InvalidArgument(L"GetKW");
    // The whole days of an automation date are its integer part, also
    // before 1899, where the fraction counts the other way.
    *result = static_cast<short>(WeekOf(DateOfDay(static_cast<long>(x))).week);
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"GetKW");
  }

  STDMETHODIMP getWinDir(BSTR* result) override try {
    return ToBstr(WindowsFolder(), result);
  } catch (...) {
    return FailUnexpected(L"getWinDir");
  }
  STDMETHODIMP getWinSysDir(BSTR* result) override try {
    return ToBstr(SystemFolder(), result);
  } catch (...) {
    return FailUnexpected(L"getWinSysDir");
  }

  STDMETHODIMP lToRGB(VARIANT* r, VARIANT* g, VARIANT* b, long rgb) override try {
    // System colours (the high bit set) are the colours they stand for.
    COLORREF colour = 0;
    if (FAILED(OleTranslateColor(static_cast<OLE_COLOR>(rgb), nullptr, &colour)))
      return InvalidArgument(L"lToRGB");
    const Rgb parts = SplitColour(colour);
    for (const auto& [out, value] :
         {std::pair{r, parts.r}, std::pair{g, parts.g}, std::pair{b, parts.b}}) {
      if (const HRESULT hr = SetOutputLong(out, value); FAILED(hr))
        return Fail(hr, L"lToRGB", L"Type mismatch");
    }
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"lToRGB");
  }

  STDMETHODIMP PutINIString(BSTR sSection, BSTR sKey, BSTR sValue, BSTR sFile) override try {
    if (!WriteIniString(Text(sSection), Text(sKey), Text(sValue), Text(sFile)))
      return FailNumber(75, L"OrrinModules32:PutINIString", SystemErrorText(GetLastError()));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"PutINIString");
  }

  STDMETHODIMP TileBG(IDispatch* ToForm, VARIANT Action, VARIANT_BOOL* result) override try {
    if (!result)
      return E_POINTER;
    *result = VARIANT_FALSE;
    std::optional<long> action;
    if (FAILED(OptionalLong(Action, action)))
      return Fail(DISP_E_TYPEMISMATCH, L"TileBG", L"Type mismatch");
    const long what = action.value_or(tbg_Quick);
    if (what != tbg_Quick && what != tbg_Refresh && what != tbg_Remove)
      return InvalidArgument(L"TileBG");
    HWND window = nullptr;
    if (FAILED(WindowOf(ToForm, window)))
      return NotAForm(L"TileBG");
    if (what == tbg_Remove || what == tbg_Refresh) {
      // The window paints its own background again.
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      if (what == tbg_Remove) {
        *result = VARIANT_TRUE;
        return S_OK;
      }
    }
    *result = Bool(TilePicture(ToForm, window));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"TileBG");
  }

  STDMETHODIMP CvtSec(long x, VARIANT AddSuffix, BSTR* result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    std::optional<bool> suffix;
    if (FAILED(OptionalBool(AddSuffix, suffix)))
      return Fail(DISP_E_TYPEMISMATCH, L"CvtSec", L"Type mismatch");
    return ToBstr(SecondsText(x, suffix.value_or(false)), result);
  } catch (...) {
    return FailUnexpected(L"CvtSec");
  }

 private:
  static HRESULT NotAForm(std::wstring_view member) {
    return FailNumber(5, L"OrrinModules32:" + std::wstring(member), kNotAForm);
  }

  // The form's Picture property, when it holds a bitmap, tiled over it.
  static bool TilePicture(IDispatch* form, HWND window) {
    vtq::base::win::Variant held;
    if (FAILED(GetProperty(form, L"Picture", held)))
      return false;
    const VARIANT& value = *held;
    bool tiled = false;
    Microsoft::WRL::ComPtr<IPicture> picture;
    if ((V_VT(&value) == VT_DISPATCH || V_VT(&value) == VT_UNKNOWN) && V_UNKNOWN(&value) &&
        SUCCEEDED(V_UNKNOWN(&value)->QueryInterface(IID_PPV_ARGS(&picture)))) {
      SHORT type = PICTYPE_NONE;
      OLE_HANDLE handle = 0;
      if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
          SUCCEEDED(picture->get_Handle(&handle))) {
        tiled = TileBitmap(window, reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
      }
    }
    return tiled;
  }
};

}  // namespace

HRESULT CreateOrrinModules(REFIID riid, void** out) {
  return DispatchObject<_OrrinModules>::Create<ModulesObject>(riid, out);
}

}  // namespace orrin::com
