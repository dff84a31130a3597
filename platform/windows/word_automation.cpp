#include "platform/windows/word_automation.h"

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace platform::windows {
namespace {

constexpr wchar_t kWordProgId[] = L"Word.Application";

// One counted reference to a COM object, released when it goes out of scope.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept
    {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ~ComRef() { reset(); }

    Interface* get() const { return p_; }
    Interface** put()
    {
        reset();
        return &p_;
    }
    explicit operator bool() const { return p_ != nullptr; }
    void reset()
    {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }

private:
    Interface* p_ = nullptr;
};

// A VARIANT cleared, with whatever it owns (a string, an object), when it goes out of scope.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    explicit Variant(const wchar_t* text) : Variant()
    {
        v_.bstrVal = SysAllocString(text);
        if (v_.bstrVal)
            v_.vt = VT_BSTR;
    }
    explicit Variant(bool value) : Variant()
    {
        v_.vt = VT_BOOL;
        v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }

    VARIANT* get() { return &v_; }

    // The object a property or method returned, taken over from the VARIANT.
    ComRef<IDispatch> takeDispatch()
    {
        ComRef<IDispatch> object;
        if (v_.vt == VT_DISPATCH)
            *object.put() = std::exchange(v_.pdispVal, nullptr);
        VariantClear(&v_);
        return object;
    }

private:
    VARIANT v_;
};

// Enters a single-threaded apartment unless the thread is already in one, and leaves on
// scope exit exactly when the entry counted (S_OK, or S_FALSE when already inside). A
// thread already in the multithreaded apartment stays there: COM works from it as well.
class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (SUCCEEDED(hr_))
            CoUninitialize();
    }
    bool usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT hr_;
};

// Word turns calls away while it starts or while a dialog of its own is open
// (RPC_E_CALL_REJECTED, or RETRYLATER from a message filter). Such a call is made again
// after a pause, until Word takes it or the hand-off's time is up: a cold start then adds
// its document, and a Word stuck in a dialog holds the window for seconds, not forever.
// The pauses block this thread, as any synchronous call into Word does.
class Conversation {
public:
    static constexpr ULONGLONG kPatienceMs = 10'000;
    static constexpr DWORD kPauseMs = 100;

    ComRef<IDispatch> getObjectProperty(IDispatch* object, const wchar_t* name)
    {
        DISPID id = DISPID_UNKNOWN;
        if (!object || !lookUp(object, &name, 1, &id))
            return {};
        DISPPARAMS none{};
        Variant result;
        if (FAILED(invoke(object, id, DISPATCH_PROPERTYGET, none, result.get())))
            return {};
        return result.takeDispatch();
    }

    // A method call with one argument passed by name, as `Add Template:="…"`.
    void callWithNamedArgument(IDispatch* object, const wchar_t* method, const wchar_t* argument,
                               const wchar_t* value)
    {
        const wchar_t* names[] = {method, argument};
        DISPID ids[2] = {DISPID_UNKNOWN, DISPID_UNKNOWN};
        if (!object || !lookUp(object, names, 2, ids))
            return;
        Variant argumentValue(value);
        DISPPARAMS params{};
        params.rgvarg = argumentValue.get();
        params.cArgs = 1;
        params.rgdispidNamedArgs = &ids[1];
        params.cNamedArgs = 1;
        Variant result; // the new document, not used further
        invoke(object, ids[0], DISPATCH_METHOD, params, result.get());
    }

    void putBoolProperty(IDispatch* object, const wchar_t* name, bool value)
    {
        DISPID id = DISPID_UNKNOWN;
        if (!object || !lookUp(object, &name, 1, &id))
            return;
        Variant argumentValue(value);
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS params{};
        params.rgvarg = argumentValue.get();
        params.cArgs = 1;
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
        invoke(object, id, DISPATCH_PROPERTYPUT, params, nullptr);
    }

private:
    static bool busy(HRESULT hr)
    {
        return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER;
    }

    template <typename Call>
    HRESULT patiently(Call call)
    {
        for (;;) {
            const HRESULT hr = call();
            if (!busy(hr) || GetTickCount64() >= deadline_)
                return hr;
            Sleep(kPauseMs);
        }
    }

    // GetIDsOfNames only reads the names; its parameter type merely predates const.
    bool lookUp(IDispatch* object, const wchar_t* const* names, UINT count, DISPID* ids)
    {
        return SUCCEEDED(patiently([&] {
            return object->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(names), count,
                                         LOCALE_USER_DEFAULT, ids);
        }));
    }

    // IDispatch::Invoke with the server's exception text freed: the handler shows no error.
    // A call turned away has not run, so making it again adds no second document.
    HRESULT invoke(IDispatch* object, DISPID member, WORD flags, DISPPARAMS& params,
                   VARIANT* result)
    {
        return patiently([&] {
            EXCEPINFO exception{};
            const HRESULT hr = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags,
                                              &params, result, &exception, nullptr);
            SysFreeString(exception.bstrSource);
            SysFreeString(exception.bstrDescription);
            SysFreeString(exception.bstrHelpFile);
            return hr;
        });
    }

    ULONGLONG deadline_ = GetTickCount64() + kPatienceMs;
};

ComRef<IDispatch> attachToRunning(const CLSID& clsid)
{
    ComRef<IUnknown> running;
    ComRef<IDispatch> application;
    if (SUCCEEDED(GetActiveObject(clsid, nullptr, running.put())))
        running.get()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(application.put()));
    return application;
}

// Word itself is a local server; an in-process one serves as well (and is what a test
// registers), so both are asked for, never a remote machine.
ComRef<IDispatch> createNew(const CLSID& clsid)
{
    ComRef<IDispatch> application;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(application.put()));
    return application;
}

bool addDocumentAndShow(const wchar_t* templateName)
{
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(kWordProgId, &clsid)))
        return false;
    ComRef<IDispatch> application = attachToRunning(clsid);
    if (!application)
        application = createNew(clsid);
    if (!application)
        return false;

    Conversation word;
    word.callWithNamedArgument(word.getObjectProperty(application.get(), L"Documents").get(),
                               L"Add", L"Template", templateName);
    // Held until return, like the document reference the command keeps, and not used.
    const ComRef<IDispatch> document = word.getObjectProperty(application.get(), L"ActiveDocument");
    word.putBoolProperty(application.get(), L"Visible", true);
    return true;
}

} // namespace

bool openWordDocument(const wchar_t* templateName)
{
    // The apartment outlives every reference taken inside, which are released first.
    const ComApartment apartment;
    return apartment.usable() && addDocumentAndShow(templateName);
}

} // namespace platform::windows
