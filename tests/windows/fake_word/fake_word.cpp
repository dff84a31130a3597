// A stand-in for Word's automation object, served in-process, for tests under Wine. It
// answers the few members the hand-off uses, by name and without a type library, as Word
// does (names compared without regard to case), and appends one line per call and per
// final release to the file named by ZELM_FAKE_WORD_LOG:
//
//   create Application
//   get Documents
//   call Add Template=Canal.dot -> document 1
//   get ActiveDocument -> document 1
//   put Visible=true
//   release document 1
//
// ZELM_FAKE_WORD_TEMPLATE_MISSING=1 makes Add fail as Word does when it cannot find the
// template. ZELM_FAKE_WORD_RUNNING=1 registers each new application in the running object
// table, where a second hand-off in the same process finds it, as it finds a running Word.
// ZELM_FAKE_WORD_BUSY=N turns the next N calls away (logged "busy" each) as a Word still
// starting does; ZELM_FAKE_WORD_BUSY=always turns every call away (logged once).

#include "tests/windows/com_object.h"

#include <windows.h>
#include <oleauto.h>

#include <atomic>
#include <cwchar>
#include <span>
#include <string>
#include <utility>

namespace {

// {6D3F1C52-8B0E-4E77-9A41-2F5C7D0B9E13}, the stand-in's own class, never Word's.
constexpr CLSID kFakeWordClsid = {
    0x6d3f1c52, 0x8b0e, 0x4e77, {0x9a, 0x41, 0x2f, 0x5c, 0x7d, 0x0b, 0x9e, 0x13}};

// Objects and server locks alive, for DllCanUnloadNow.
std::atomic<long> liveCount{0};

bool envSet(const wchar_t* name)
{
    return GetEnvironmentVariableW(name, nullptr, 0) > 0;
}

std::string utf8(const wchar_t* text)
{
    if (!text || !*text)
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    out.pop_back(); // the terminating zero
    return out;
}

// Opened per line, so that the log is complete whenever the process ends.
void log(const std::string& line)
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ZELM_FAKE_WORD_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + '\n';
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Whether this call is turned away, as Word's message filter does while Word is busy.
bool turnedAway()
{
    static long remaining = [] {
        wchar_t value[16] = L"";
        if (GetEnvironmentVariableW(L"ZELM_FAKE_WORD_BUSY", value, 16) == 0)
            return 0L;
        return _wcsicmp(value, L"always") == 0 ? -1L : std::wcstol(value, nullptr, 10);
    }();
    if (remaining == 0)
        return false;
    if (remaining > 0) {
        log("busy");
        --remaining;
    } else if (remaining == -1) {
        log("busy from now on");
        remaining = -2;
    }
    return true;
}

std::string describe(const VARIANT& value)
{
    if (value.vt == VT_BSTR)
        return utf8(value.bstrVal);
    if (value.vt == VT_BOOL)
        return value.boolVal ? "true" : "false";
    return "vt(" + std::to_string(value.vt) + ")";
}

// Word fails a call with an exception whose text the caller receives and must free.
HRESULT fail(EXCEPINFO* exception, const wchar_t* description)
{
    if (exception) {
        *exception = EXCEPINFO{};
        exception->scode = E_FAIL;
        exception->bstrSource = SysAllocString(L"Microsoft Word");
        exception->bstrDescription = SysAllocString(description);
    }
    return DISP_E_EXCEPTION;
}

// One member: its name, the names of its parameters in order, and its number.
struct Member {
    const wchar_t* name;
    DISPID id;
    std::span<const wchar_t* const> parameters;
};

// IUnknown and IDispatch by hand over a table of members; a subclass answers Invoke. Bare,
// it stands for a document: one object per hand-out, so that the log shows when the
// caller lets go of each.
class Dispatch : public ComObject<IDispatch> {
public:
    Dispatch(std::string name, std::span<const Member> members)
        : name_(std::move(name)), members_(members)
    {
        ++liveCount;
    }
    ~Dispatch() override
    {
        log("release " + name_);
        --liveCount;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override
    {
        return DISP_E_BADINDEX;
    }
    // The first name is the member, the others its parameters, for calls by named arguments.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override
    {
        if (!names || !ids || count == 0)
            return E_INVALIDARG;
        if (turnedAway())
            return RPC_E_CALL_REJECTED;
        const Member* member = find(names[0]);
        HRESULT hr = S_OK;
        ids[0] = member ? member->id : DISPID_UNKNOWN;
        if (!member)
            hr = DISP_E_UNKNOWNNAME;
        for (UINT i = 1; i < count; ++i) {
            ids[i] = member ? parameterId(*member, names[i]) : DISPID_UNKNOWN;
            if (ids[i] == DISPID_UNKNOWN)
                hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override
    {
        static DISPPARAMS none{};
        if (turnedAway())
            return RPC_E_CALL_REJECTED;
        return call(id, flags, params ? *params : none, result, exception);
    }

protected:
    virtual HRESULT call(DISPID, WORD, const DISPPARAMS&, VARIANT*, EXCEPINFO*)
    {
        return DISP_E_MEMBERNOTFOUND;
    }

    // The name of a parameter a caller passed by name, for the log.
    std::wstring parameterName(DISPID member, DISPID parameter) const
    {
        for (const Member& m : members_) {
            if (m.id != member)
                continue;
            DISPID index = 0;
            for (const wchar_t* name : m.parameters) {
                if (index++ == parameter)
                    return name;
            }
        }
        return L"?";
    }

private:
    const Member* find(const wchar_t* name) const
    {
        for (const Member& member : members_) {
            if (name && _wcsicmp(member.name, name) == 0)
                return &member;
        }
        return nullptr;
    }
    static DISPID parameterId(const Member& member, const wchar_t* name)
    {
        DISPID index = 0;
        for (const wchar_t* parameter : member.parameters) {
            if (name && _wcsicmp(parameter, name) == 0)
                return index;
            ++index;
        }
        return DISPID_UNKNOWN;
    }

    std::string name_;
    std::span<const Member> members_;
};

void handOut(VARIANT* result, int documentNumber)
{
    if (!result)
        return;
    VariantInit(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = new Dispatch("document " + std::to_string(documentNumber), {});
}

// What the application knows: how many documents it has, the last one active.
struct WordState {
    int documents = 0;
};

constexpr DISPID kAdd = 1;
constexpr const wchar_t* kAddParameters[] = {L"Template", L"NewTemplate", L"DocumentType",
                                             L"Visible"};
constexpr Member kDocumentsMembers[] = {{L"Add", kAdd, kAddParameters}};

class Documents final : public Dispatch {
public:
    explicit Documents(WordState& state, IDispatch* application)
        : Dispatch("Documents", kDocumentsMembers), state_(state), application_(application)
    {
        application_->AddRef(); // the collection keeps its application alive, as in Word
    }
    ~Documents() override { application_->Release(); }

protected:
    HRESULT call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result,
                 EXCEPINFO* exception) override
    {
        if (id != kAdd)
            return DISP_E_MEMBERNOTFOUND;
        std::string line = "call Add";
        if (!(flags & DISPATCH_METHOD))
            line += " (not as a method)";
        // Named arguments come first in rgvarg, in the order of rgdispidNamedArgs; the
        // positional ones follow, last first.
        for (UINT i = 0; i < params.cArgs; ++i) {
            const bool named = i < params.cNamedArgs;
            const std::wstring name =
                named ? parameterName(kAdd, params.rgdispidNamedArgs[i])
                      : L"#" + std::to_wstring(params.cArgs - 1 - i);
            line += ' ' + utf8(name.c_str()) + '=' + describe(params.rgvarg[i]);
        }
        if (envSet(L"ZELM_FAKE_WORD_TEMPLATE_MISSING")) {
            log(line + " -> template not found");
            return fail(exception, L"This file could not be found.");
        }
        const int number = ++state_.documents;
        log(line + " -> document " + std::to_string(number));
        handOut(result, number);
        return S_OK;
    }

private:
    WordState& state_;
    IDispatch* application_;
};

constexpr DISPID kDocuments = 1, kActiveDocument = 2, kVisible = 3;
constexpr Member kApplicationMembers[] = {{L"Documents", kDocuments, {}},
                                          {L"ActiveDocument", kActiveDocument, {}},
                                          {L"Visible", kVisible, {}}};

class Application final : public Dispatch {
public:
    Application()
        : Dispatch("Application", kApplicationMembers)
    {
    }

protected:
    HRESULT call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result,
                 EXCEPINFO* exception) override
    {
        switch (id) {
        case kDocuments:
            if (!(flags & DISPATCH_PROPERTYGET) || !result) {
                log("Documents: not a property get");
                return DISP_E_MEMBERNOTFOUND;
            }
            log("get Documents");
            VariantInit(result);
            result->vt = VT_DISPATCH;
            result->pdispVal = new Documents(state_, this);
            return S_OK;
        case kActiveDocument:
            if (!(flags & DISPATCH_PROPERTYGET) || !result) {
                log("ActiveDocument: not a property get");
                return DISP_E_MEMBERNOTFOUND;
            }
            if (state_.documents == 0) {
                log("get ActiveDocument -> none");
                return fail(exception, L"This command is not available because no document is open.");
            }
            log("get ActiveDocument -> document " + std::to_string(state_.documents));
            handOut(result, state_.documents);
            return S_OK;
        case kVisible:
            return putVisible(flags, params);
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    // A property put passes its value as the one argument named DISPID_PROPERTYPUT.
    static HRESULT putVisible(WORD flags, const DISPPARAMS& params)
    {
        if (!(flags & DISPATCH_PROPERTYPUT) || params.cArgs != 1 || params.cNamedArgs != 1
            || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
            log("Visible: not a property put");
            return DISP_E_PARAMNOTOPTIONAL;
        }
        VARIANT value;
        VariantInit(&value);
        if (FAILED(VariantChangeType(&value, &params.rgvarg[0], 0, VT_BOOL))) {
            log("Visible: not a truth value: " + describe(params.rgvarg[0]));
            return DISP_E_TYPEMISMATCH;
        }
        log("put Visible=" + describe(value));
        return S_OK;
    }

    WordState state_;
};

class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // The one factory is static and lives as long as the module.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        log("create Application");
        Application* application = new Application;
        if (envSet(L"ZELM_FAKE_WORD_RUNNING")) {
            // Held by the table from now on, as a running Word is until it quits.
            DWORD registration = 0;
            RegisterActiveObject(application, kFakeWordClsid, ACTIVEOBJECT_STRONG, &registration);
        }
        const HRESULT hr = application->QueryInterface(iid, object);
        application->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override
    {
        lock ? ++liveCount : --liveCount;
        return S_OK;
    }
};

ClassFactory factory;

} // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid,
                                                                          REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (clsid != kFakeWordClsid)
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(iid, object);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow()
{
    return liveCount == 0 ? S_OK : S_FALSE;
}
