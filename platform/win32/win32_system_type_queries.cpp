#include "platform/win32/win32_system_type_queries.h"

#include <windows.h>
#include <oleauto.h>
#include <wbemdisp.h>

#include "platform/win32/com_ref.h"
#include "platform/win32/win32_text.h"

namespace kalmor {
namespace {

constexpr const wchar_t* kMoniker = L"winmgmts:\\\\.\\root\\CIMV2";
constexpr const wchar_t* kQuery = L"SELECT * FROM Win32_ComputerSystem";
constexpr const wchar_t* kQueryLanguage = L"WQL";
constexpr const wchar_t* kProperty = L"SystemType";
// A script's ExecQuery default: hand back the collection at once.
constexpr long kReturnImmediately = 0x10;

class BString {
 public:
  explicit BString(const wchar_t* text) : text_(::SysAllocString(text)) {}
  ~BString() { ::SysFreeString(text_); }
  BString(const BString&) = delete;
  BString& operator=(const BString&) = delete;
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};

class Variant {
 public:
  Variant() { ::VariantInit(&value_); }
  ~Variant() { ::VariantClear(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  VARIANT* get() { return &value_; }
  const VARIANT& operator*() const { return value_; }

 private:
  VARIANT value_;
};

}  // namespace

struct Win32SystemTypeQueries::Session {
  bool comStarted = false;
  ComRef<ISWbemServices> services;
  ComRef<ISWbemObjectSet> objects;
  ComRef<IEnumVARIANT> walk;
  ComRef<IDispatch> item;

  ~Session() {
    // The item, the collection and the service go before COM itself.
    item.reset();
    walk.reset();
    objects.reset();
    services.reset();
    if (comStarted) ::CoUninitialize();
  }
};

Win32SystemTypeQueries::Win32SystemTypeQueries() = default;
Win32SystemTypeQueries::~Win32SystemTypeQueries() = default;

bool Win32SystemTypeQueries::bindAndQuery() {
  session_ = std::make_unique<Session>();
  // S_FALSE (already started on this thread) still needs its matching uninitialize;
  // a thread started in the other model can bind all the same.
  const HRESULT started = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  session_->comStarted = SUCCEEDED(started);
  if (FAILED(started) && started != RPC_E_CHANGED_MODE) return false;

  if (FAILED(::CoGetObject(kMoniker, nullptr, __uuidof(ISWbemServices),
                           session_->services.putVoid()))) {
    return false;
  }
  const BString query(kQuery);
  const BString language(kQueryLanguage);
  if (FAILED(session_->services->ExecQuery(query.get(), language.get(), kReturnImmediately,
                                           nullptr, session_->objects.put()))) {
    return false;
  }
  ComRef<IUnknown> enumerator;
  if (FAILED(session_->objects->get__NewEnum(enumerator.put()))) return false;
  return SUCCEEDED(enumerator->QueryInterface(__uuidof(IEnumVARIANT), session_->walk.putVoid()));
}

SystemTypeQueries::Next Win32SystemTypeQueries::nextObject() {
  if (!session_ || !session_->walk) return Next::Error;
  session_->item.reset();
  Variant element;
  ULONG fetched = 0;
  const HRESULT result = session_->walk->Next(1, element.get(), &fetched);
  if (result == S_FALSE && fetched == 0) return Next::End;
  if (result != S_OK || fetched != 1 || (*element).vt != VT_DISPATCH ||
      (*element).pdispVal == nullptr) {
    return Next::Error;
  }
  (*element).pdispVal->AddRef();
  *session_->item.put() = (*element).pdispVal;
  return Next::Object;
}

std::optional<std::string> Win32SystemTypeQueries::systemType() {
  if (!session_ || !session_->item) return std::nullopt;
  // Read by name, as a script's late-bound objItem.SystemType does.
  LPOLESTR name = const_cast<LPOLESTR>(kProperty);
  DISPID id = 0;
  if (FAILED(session_->item->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) {
    return std::nullopt;
  }
  DISPPARAMS noArguments{};
  Variant value;
  if (FAILED(session_->item->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                                    DISPATCH_PROPERTYGET | DISPATCH_METHOD, &noArguments,
                                    value.get(), nullptr, nullptr))) {
    return std::nullopt;
  }
  if ((*value).vt != VT_BSTR) return std::nullopt;  // missing (VT_NULL) or not text
  const BSTR text = (*value).bstrVal;
  return WideToUtf8(std::wstring(text, ::SysStringLen(text)));
}

void Win32SystemTypeQueries::release() { session_.reset(); }

}  // namespace kalmor
