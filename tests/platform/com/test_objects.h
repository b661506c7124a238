#pragma once

#include "platform/com/com.h"

// Small objects for the tests: two dispatch interfaces and an object that implements both and
// reports its own end.

struct IShape : IDispatch {
    static constexpr IID iid = com::guidOf("{6D1C2A10-3B4E-4F51-9A62-7B8C9D0E1F21}");
    using base_interface = IDispatch;
    virtual int corners() = 0;
};

struct ISquare : IShape {
    static constexpr IID iid = com::guidOf("{6D1C2A11-3B4E-4F51-9A62-7B8C9D0E1F21}");
    using base_interface = IShape;
    virtual int side() = 0;
};

struct IColour : IDispatch {
    static constexpr IID iid = com::guidOf("{6D1C2A12-3B4E-4F51-9A62-7B8C9D0E1F21}");
    using base_interface = IDispatch;
    virtual int rgb() = 0;
};

// Never implemented by anything here: queries for it are refused.
struct IAbsent : IUnknown {
    static constexpr IID iid = com::guidOf("{6D1C2A13-3B4E-4F51-9A62-7B8C9D0E1F21}");
    using base_interface = IUnknown;
};

class Square : public ComObject<ISquare, IColour> {
public:
    explicit Square(int* alive = nullptr) : alive_(alive) {
        if (alive_)
            ++*alive_;
    }
    ~Square() override {
        if (alive_)
            --*alive_;
    }

    int corners() override { return 4; }
    int side() override { return 2; }
    int rgb() override { return 0xFF0000; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, Variant*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }

    ULONG refs() {
        AddRef();
        return Release();
    }

private:
    int* alive_;
};
