// Copies text through OLE, as Qt does, and ends the process at once, with or without the
// flush first; or, in a later process, prints what the clipboard then holds:
//
//   clipboard_flush_driver copy TEXT flush|no-flush
//   clipboard_flush_driver paste          prints the clipboard's text, or "(empty)"

#include "platform/windows/clipboard_flush.h"
#include "tests/windows/com_object.h"

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Text offered as CF_UNICODETEXT and rendered only when asked for, as a toolkit's data is.
class TextData final : public ComObject<IDataObject> {
public:
    explicit TextData(std::wstring text) : text_(std::move(text)) {}

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK || !medium)
            return DV_E_FORMATETC;
        const SIZE_T bytes = (text_.size() + 1) * sizeof(wchar_t);
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        if (!memory)
            return E_OUTOFMEMORY;
        std::memcpy(GlobalLock(memory), text_.c_str(), bytes);
        GlobalUnlock(memory);
        *medium = STGMEDIUM{};
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return format && format->cfFormat == CF_UNICODETEXT && (format->tymed & TYMED_HGLOBAL)
                   ? S_OK
                   : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override
    {
        if (direction != DATADIR_GET)
            return E_NOTIMPL;
        FORMATETC text{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        return SHCreateStdEnumFmtEtc(1, &text, formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    std::wstring text_;
};

int copy(const char* text, bool flush)
{
    if (FAILED(OleInitialize(nullptr)))
        return 2;
    TextData* data = new TextData(std::wstring(text, text + std::strlen(text)));
    const HRESULT set = OleSetClipboard(data);
    data->Release();
    if (FAILED(set))
        return 2;
    if (flush && !platform::windows::flushClipboard())
        return 3;
    // At once: no window is destroyed, no message handled, nothing unwound.
    ExitProcess(0);
}

int paste()
{
    if (!OpenClipboard(nullptr))
        return 2;
    std::string text = "(empty)";
    if (const HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        const auto* wide = static_cast<const wchar_t*>(GlobalLock(memory));
        text.assign(wide, wide + wcslen(wide)); // the test's texts are ASCII
        GlobalUnlock(memory);
    }
    CloseClipboard();
    std::printf("%s\n", text.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "copy") == 0)
        return copy(argv[2], std::strcmp(argv[3], "flush") == 0);
    if (argc == 2 && std::strcmp(argv[1], "paste") == 0)
        return paste();
    std::fprintf(stderr, "usage: %s copy TEXT flush|no-flush | paste\n", argv[0]);
    return 2;
}
