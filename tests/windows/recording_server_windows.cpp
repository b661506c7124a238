#include "tests/windows/recording_server.h"

#include <algorithm>
#include <cstring>
#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>
#include <string>
#include <windows.h>

namespace recording {
namespace {

std::u16string fromBstr(BSTR text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text))
                : std::u16string();
}

BSTR toBstr(const std::u16string& text) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), UINT(text.size()));
}

std::u16string number(long long n) {
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

std::u16string describe(const VARIANT& v) {
    switch (v.vt) {
    case VT_EMPTY:
        return u"EMPTY";
    case VT_I2:
        return u"I2:" + number(v.iVal);
    case VT_I4:
        return u"I4:" + number(v.lVal);
    case VT_R8:
        return u"R8:" + number(static_cast<long long>(v.dblVal * 1000)) + u"/1000";
    case VT_BOOL:
        return u"BOOL:" + number(v.boolVal);
    case VT_BSTR:
        return u"BSTR:" + fromBstr(v.bstrVal);
    case VT_ERROR:
        return v.scode == DISP_E_PARAMNOTFOUND ? u"MISSING" : u"ERROR:" + number(v.scode);
    case VT_DISPATCH:
        return v.pdispVal ? u"OBJECT" : u"NOTHING";
    default:
        return u"VT:" + number(v.vt);
    }
}

class Server;

class Point final : public IConnectionPoint {
public:
    explicit Point(Server& server) : server_(server) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        *iid = eventInterface;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        IDispatch* dispatch = nullptr;
        if (FAILED(sink->QueryInterface(eventInterface, reinterpret_cast<void**>(&dispatch))))
            return CONNECT_E_CANNOTCONNECT;
        sinks.push_back({++lastCookie, dispatch});
        *cookie = lastCookie;
        record(u"(advise)");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        for (auto it = sinks.begin(); it != sinks.end(); ++it)
            if (it->first == cookie) {
                it->second->Release();
                sinks.erase(it);
                record(u"(unadvise)");
                return S_OK;
            }
        return CONNECT_E_NOCONNECTION;
    }

    IID eventInterface{};
    std::vector<std::pair<DWORD, IDispatch*>> sinks;
    DWORD lastCookie = 0;

private:
    void record(const std::u16string& member);

    Server& server_;
};

class Server final : public IDispatch, public IConnectionPointContainer {
public:
    Server(std::shared_ptr<Log> log, std::u16string name)
        : log_(std::move(log)), name_(std::move(name)), point_(*this) {}
    ~Server() {
        for (auto& [cookie, sink] : point_.sinks)
            sink->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch)
            *out = static_cast<IDispatch*>(this);
        else if (riid == IID_IConnectionPointContainer)
            *out = static_cast<IConnectionPointContainer*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; i < count; ++i) {
            const std::u16string name(reinterpret_cast<const char16_t*>(names[i]));
            auto it = std::find(members_.begin(), members_.end(), name);
            if (it == members_.end())
                it = members_.insert(members_.end(), name);
            ids[i] = DISPID(it - members_.begin() + 1);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* info, UINT*) override {
        const std::u16string member = dispid == DISPID_VALUE ? u"(value)"
                                      : dispid > 0 && std::size_t(dispid) <= members_.size()
                                          ? members_[dispid - 1]
                                          : u"?";
        Call call{name_, member, flags, {}, {}};
        for (UINT i = params->cArgs; i-- > params->cNamedArgs;)
            call.args.push_back(describe(params->rgvarg[i]));
        for (UINT i = 0; i < params->cNamedArgs; ++i) {
            call.namedArgs.push_back(params->rgdispidNamedArgs[i]);
            call.args.push_back(describe(params->rgvarg[i]));
        }
        record(std::move(call));
        const auto answer = log_->answers.find(member);
        const std::u16string text = answer == log_->answers.end() ? u"OBJECT" : answer->second;
        if (text.starts_with(u"FAIL:")) {
            const std::size_t colon = text.find(u':', 5);
            const std::string code(text.begin() + 5, text.begin() + long(colon));
            std::memset(info, 0, sizeof *info);
            info->scode = SCODE(std::stoul(code, nullptr, 16));
            info->bstrDescription = toBstr(text.substr(colon + 1));
            return DISP_E_EXCEPTION;
        }
        if (result && !(flags & DISPATCH_PROPERTYPUT))
            answerWith(text, member, *result);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
        if (point_.sinks.empty())
            point_.eventInterface = riid;
        if (!(riid == point_.eventInterface))
            return CONNECT_E_NOCONNECTION;
        *point = &point_;
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }

    Point& point() { return point_; }

    void record(Call call) {
        log_->calls.push_back(std::move(call));
        if (log_->onCall)
            log_->onCall(static_cast<IDispatch*>(this), log_->calls.back());
    }
    const std::u16string& name() const { return name_; }

    void answerWith(const std::u16string& text, const std::u16string& member, VARIANT& v) {
        VariantInit(&v);
        const std::u16string value = text.substr(text.find(u':') + 1);
        const std::string ascii(value.begin(), value.end());
        if (text == u"OBJECT") {
            v.vt = VT_DISPATCH;
            v.pdispVal = new Server(log_, name_ + u"." + member);
            v.pdispVal->AddRef();
        } else if (text.starts_with(u"I4:")) {
            v.vt = VT_I4;
            v.lVal = std::stol(ascii);
        } else if (text.starts_with(u"R8:")) {
            v.vt = VT_R8;
            v.dblVal = std::stod(ascii);
        } else if (text.starts_with(u"BOOL:")) {
            v.vt = VT_BOOL;
            v.boolVal = VARIANT_BOOL(std::stoi(ascii));
        } else if (text.starts_with(u"BSTR:")) {
            v.vt = VT_BSTR;
            v.bstrVal = toBstr(value);
        } else if (text.starts_with(u"ARRAY:")) {
            SAFEARRAYBOUND bounds[2] = {{2, 1}, {2, 1}};
            SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
            std::size_t at = 0;
            for (LONG row = 1; row <= 2; ++row)
                for (LONG column = 1; column <= 2; ++column) {
                    const std::size_t comma = std::min(value.find(u',', at), value.size());
                    VARIANT element;
                    element.vt = VT_BSTR;
                    element.bstrVal = toBstr(value.substr(at, comma - at));
                    LONG index[2] = {row, column};
                    SafeArrayPutElement(array, index, &element);
                    VariantClear(&element);
                    at = comma + 1;
                }
            v.vt = VT_ARRAY | VT_VARIANT;
            v.parray = array;
        }
    }

private:
    std::shared_ptr<Log> log_;
    std::u16string name_;
    std::vector<std::u16string> members_;
    Point point_;
    ULONG refs_ = 0;
};

HRESULT Point::QueryInterface(REFIID riid, void** out) {
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *out = this;
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}
void Point::record(const std::u16string& member) {
    server_.record({server_.name(), member, 0, {}, {}});
}

ULONG Point::AddRef() {
    return server_.AddRef();
}
ULONG Point::Release() {
    return server_.Release();
}

} // namespace

void* create(std::shared_ptr<Log> log) {
    auto* server = new Server(std::move(log), u"app");
    server->AddRef();
    return static_cast<IDispatch*>(server);
}

void release(void* object) {
    static_cast<IDispatch*>(object)->Release();
}

Fired fire(void* object, const unsigned char (&eventInterface)[16], std::int32_t dispid,
           const std::vector<std::u16string>& args) {
    auto* server = static_cast<Server*>(static_cast<IDispatch*>(object));
    IID iid;
    std::memcpy(&iid, eventInterface, sizeof iid);
    Fired fired;
    VARIANT_BOOL flag = VARIANT_FALSE;
    const auto sinks = server->point().sinks;
    for (const auto& [cookie, sink] : sinks) {
        std::vector<VARIANT> reversed(args.size());
        for (std::size_t i = 0; i < args.size(); ++i) {
            VARIANT& v = reversed[args.size() - 1 - i];
            VariantInit(&v);
            if (args[i] == u"SELF") {
                v.vt = VT_DISPATCH;
                v.pdispVal = static_cast<IDispatch*>(server);
                server->AddRef();
            } else if (args[i] == u"FLAG") {
                v.vt = VT_BYREF | VT_BOOL;
                v.pboolVal = &flag;
            } else {
                server->answerWith(args[i], u"event", v);
            }
        }
        DISPPARAMS params{reversed.data(), nullptr, UINT(reversed.size()), 0};
        EXCEPINFO info{};
        fired.results.push_back(
            sink->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, &info, nullptr));
        if (info.bstrDescription)
            fired.description = fromBstr(info.bstrDescription);
        SysFreeString(info.bstrDescription);
        for (VARIANT& v : reversed)
            if (!(v.vt & VT_BYREF))
                VariantClear(&v);
    }
    fired.flag = flag != VARIANT_FALSE;
    return fired;
}

int sinks(void* object) {
    return int(static_cast<Server*>(static_cast<IDispatch*>(object))->point().sinks.size());
}

} // namespace recording
