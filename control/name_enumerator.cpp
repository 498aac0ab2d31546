#include "control/name_enumerator.h"

#include <memory>
#include <utility>

#include "comkit/ref_counted.h"
#include "control/com_values.h"

namespace vtq::control {
namespace {

using Names = std::vector<std::string>;

class NameEnumerator final : public comkit::RefCounted<IEnumVARIANT> {
 public:
  NameEnumerator(std::shared_ptr<const Names> names, size_t next)
      : names_(std::move(names)), next_(next) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out)
      return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IEnumVARIANT) {
      *out = static_cast<IEnumVARIANT*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }

  STDMETHODIMP Next(ULONG count, VARIANT* items, ULONG* fetched) override try {
    if (!items || (count > 1 && !fetched))
      return E_POINTER;
    ULONG given = 0;
    for (; given < count && next_ < names_->size(); ++given, ++next_) {
      VariantInit(&items[given]);
      V_VT(&items[given]) = VT_BSTR;
      if (FAILED(ToBstr((*names_)[next_], &V_BSTR(&items[given])))) {
        V_VT(&items[given]) = VT_EMPTY;
        for (ULONG i = 0; i < given; ++i)
          VariantClear(&items[i]);
        return E_OUTOFMEMORY;
      }
    }
    if (fetched)
      *fetched = given;
    return given == count ? S_OK : S_FALSE;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP Skip(ULONG count) override try {
    const size_t left = names_->size() - next_;
    next_ += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP Reset() override try {
    next_ = 0;
    return S_OK;
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }
  STDMETHODIMP Clone(IEnumVARIANT** out) override try {
    return comkit::CreateObject<NameEnumerator>(IID_IEnumVARIANT, reinterpret_cast<void**>(out),
                                                names_, next_);
  } catch (...) {
    return comkit::FailCurrentException(kLibrarySource);
  }

 private:
  ~NameEnumerator() override = default;
  std::shared_ptr<const Names> names_;
  size_t next_;
};

}  // namespace

HRESULT EnumerateNames(Names names, IUnknown** out) {
  return comkit::CreateObject<NameEnumerator>(IID_IUnknown, reinterpret_cast<void**>(out),
                                              std::make_shared<const Names>(std::move(names)),
                                              size_t{0});
}

}  // namespace vtq::control
