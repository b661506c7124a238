// varnel-test-server.dll: the recording server (recording_server.h) as an in-process COM server, which a
// test registers in Wine's registry as "Excel.Application" so that varnel.exe starts it as it starts
// Excel. It answers what the program's start-up reads (one command bar, a saved register), writes every
// call it gets to the file VARNEL_SERVER_LOG names, one a line, and once the program has shown its
// toolbar closes the register as a user would (WorkbookBeforeClose).

#include "tests/windows/recording_server.h"

#include <cstdio>
#include <memory>
#include <windows.h>

namespace {

std::string utf8(const std::u16string& text) {
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int length = WideCharToMultiByte(CP_UTF8, 0, units, int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, units, int(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

void write(const recording::Call& call) {
    wchar_t path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"VARNEL_SERVER_LOG", path, MAX_PATH))
        return;
    std::FILE* file = _wfopen(path, L"ab");
    if (!file)
        return;
    std::fprintf(file, "%s %s %u", utf8(call.object).c_str(), utf8(call.member).c_str(),
                 unsigned(call.flags));
    for (const std::u16string& arg : call.args)
        std::fprintf(file, " %s", utf8(arg).c_str());
    std::fprintf(file, "\n");
    std::fclose(file);
}

void* application = nullptr;

void CALLBACK closeRegister(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    // The application's events interface, {00024413-0000-0000-C000-000000000046}.
    static const unsigned char appEvents[16] = {0x13, 0x44, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    recording::fire(application, appEvents, 0x622, {u"OBJECT", u"FLAG"});
}

void* makeApplication() {
    auto log = std::make_shared<recording::Log>();
    log->answers = {
        {u"Hwnd", u"I4:0"}, {u"Count", u"I4:1"}, {u"Name", u"BSTR:Ombrell.xls"}, {u"Saved", u"BOOL:-1"}};
    log->onCall = [](void*, const recording::Call& call) {
        write(call);
        if (call.object == u"app.CommandBars.Add" && call.member == u"Visible" &&
            call.args == std::vector<std::u16string>{u"BOOL:-1"})
            SetTimer(nullptr, 0, 200, closeRegister);
    };
    application = recording::create(log);
    return application;
}

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto* object = static_cast<IDispatch*>(makeApplication());
        const HRESULT hr = object->QueryInterface(riid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

} // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID, REFIID riid, void** out) {
    static Factory factory;
    return factory.QueryInterface(riid, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return S_FALSE;
}
