// FrmTile: the tiling helper's properties: the tile counts and the form,
// which must be a window (any object with an hWnd property) or Nothing.
#include "helperlib/com/classes.h"
#include "helperlib/com/dispatch_object.h"
#include "helperlib/com/orrinlib_interfaces.h"

namespace orrin::com {
namespace {

class TileObject final : public DispatchObject<_FrmTile> {
 public:
  STDMETHODIMP get_xAmount(short* result) override try { return Get(x_, result); } catch (...) {
    return FailUnexpected(L"xAmount");
  }
  STDMETHODIMP put_xAmount(short value) override try { return Put(x_, value); } catch (...) {
    return FailUnexpected(L"xAmount");
  }
  STDMETHODIMP get_yAmount(short* result) override try { return Get(y_, result); } catch (...) {
    return FailUnexpected(L"yAmount");
  }
  STDMETHODIMP put_yAmount(short value) override try { return Put(y_, value); } catch (...) {
    return FailUnexpected(L"yAmount");
  }
  STDMETHODIMP get_ofForm(IDispatch** result) override try {
    if (!result)
      return E_POINTER;
    form_.CopyTo(result);
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"ofForm");
  }
  STDMETHODIMP putref_ofForm(IDispatch* value) override try {
    HWND window = nullptr;
    if (value && FAILED(WindowOf(value, window)))
      return FailNumber(5, L"OrrinModules32:ofForm", kNotAForm);
    form_ = value;
    return S_OK;
  } catch (...) {
    return FailUnexpected(L"ofForm");
  }

 private:
  static HRESULT Get(short field, short* result) {
    if (!result)
      return E_POINTER;
    *result = field;
    return S_OK;
  }
  static HRESULT Put(short& field, short value) {
    field = value;
    return S_OK;
  }
  short x_ = 0;
  short y_ = 0;
  Microsoft::WRL::ComPtr<IDispatch> form_;
};

}  // namespace

HRESULT CreateFrmTile(REFIID riid, void** out) {
  return DispatchObject<_FrmTile>::Create<TileObject>(riid, out);
}

}  // namespace orrin::com
