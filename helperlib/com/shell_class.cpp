// OrrinShell: special folders and shortcuts, over orrin_core.
#include "helperlib/com/classes.h"
#include "helperlib/com/dispatch_object.h"
#include "helperlib/com/orrinlib_interfaces.h"
#include "helperlib/core/shell_link.h"

namespace orrin::com {
namespace {

class ShellObject final : public DispatchObject<_OrrinShell> {
 public:
  STDMETHODIMP ShellGetSystemFolders(long hwnd, sh_ShellFolders Id, BSTR* result) override try {
    if (!result)
      return E_POINTER;
    *result = nullptr;
    const HWND owner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwnd));
    return ToBstr(SpecialFolder(owner, Id), result);
  } catch (...) {
    return FailUnexpected(L"ShellGetSystemFolders");
  }

  STDMETHODIMP ShellCreateLink(BSTR LnkFile, BSTR ExeFile, VARIANT ExeArgs, VARIANT WorkDir,
                               VARIANT IconFile, VARIANT IconIdx, VARIANT ShowCmd, VARIANT wHotKey,
                               sh_Errors* result) override try {
    if (!result)
      return E_POINTER;
    std::optional<std::wstring> args, folder, icon;
    std::optional<long> iconIndex, show, hotKey;
    if (FAILED(OptionalText(ExeArgs, args)) || FAILED(OptionalText(WorkDir, folder)) ||
        FAILED(OptionalText(IconFile, icon)) || FAILED(OptionalLong(IconIdx, iconIndex)) ||
        FAILED(OptionalLong(ShowCmd, show)) || FAILED(OptionalLong(wHotKey, hotKey))) {
      *result = sh_err_ErrInParameter;
      return S_OK;
    }
    LinkFields fields;
    fields.target = Text(ExeFile);
    fields.arguments = args.value_or(L"");
    fields.workingFolder = folder.value_or(L"");
    fields.iconFile = icon.value_or(L"");
    fields.iconIndex = static_cast<int>(iconIndex.value_or(0));
    fields.showCmd = static_cast<int>(show.value_or(show_ShowNormal));
    fields.hotKey = static_cast<int>(hotKey.value_or(hk_NoHotKey));
    fields.description = L"OrrinModules32 - " + LibraryVersion();
    *result = static_cast<sh_Errors>(CreateLink(Text(LnkFile), fields));
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"ShellCreateLink");
  }

  STDMETHODIMP ShellLinkInfos(BSTR LnkFile, VARIANT* ExeFile, VARIANT* ExeArgs, VARIANT* WorkDir,
                              VARIANT* IconFile, VARIANT* IconIdx, VARIANT* ShowCmd,
                              VARIANT* wHotKey, sh_Errors* result) override try {
    if (!result)
      return E_POINTER;
    LinkFields fields;
    *result = static_cast<sh_Errors>(ReadLink(Text(LnkFile), fields));
    if (*result != sh_err_NoError)
      return S_OK;
    const HRESULT outputs[] = {
        SetOutputText(ExeFile, fields.target),        SetOutputText(ExeArgs, fields.arguments),
        SetOutputText(WorkDir, fields.workingFolder), SetOutputText(IconFile, fields.iconFile),
        SetOutputLong(IconIdx, fields.iconIndex),     SetOutputLong(ShowCmd, fields.showCmd),
        SetOutputLong(wHotKey, fields.hotKey)};
    for (HRESULT hr : outputs) {
      if (FAILED(hr)) {
        *result = sh_err_ErrInParameter;
        break;
      }
    }
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"ShellLinkInfos");
  }
};

}  // namespace

HRESULT CreateOrrinShell(REFIID riid, void** out) {
  return DispatchObject<_OrrinShell>::Create<ShellObject>(riid, out);
}

}  // namespace orrin::com
