#include "tests/platform/com/test_objects.h"

#include <gtest/gtest.h>

namespace {

TEST(ObjectLifetime, QueryInterfaceAnswersEveryImplementedInterfaceAndItsBases) {
    int alive = 0;
    {
        ComPtr<Square> square = makeComObject<Square>(&alive);
        EXPECT_EQ(square->refs(), 1u);

        void* out = reinterpret_cast<void*>(1);
        for (const IID* iid :
             {&IID_IUnknown, &IID_IDispatch, &uuidof<IShape>(), &uuidof<ISquare>(), &uuidof<IColour>()}) {
            ASSERT_EQ(square->QueryInterface(*iid, &out), S_OK);
            static_cast<IUnknown*>(out)->Release();
        }
        EXPECT_EQ(square->QueryInterface(uuidof<IAbsent>(), &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(square->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
        EXPECT_EQ(square->refs(), 1u);

        // The pointer handed out for each interface works as that interface.
        ASSERT_EQ(square->QueryInterface(uuidof<IColour>(), &out), S_OK);
        EXPECT_EQ(static_cast<IColour*>(out)->rgb(), 0xFF0000);
        static_cast<IUnknown*>(out)->Release();
        ASSERT_EQ(square->QueryInterface(uuidof<IShape>(), &out), S_OK);
        EXPECT_EQ(static_cast<IShape*>(out)->corners(), 4);
        static_cast<IUnknown*>(out)->Release();
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(ObjectLifetime, IUnknownIsTheSamePointerFromEveryInterface) {
    ComPtr<Square> square = makeComObject<Square>();
    ComPtr<IColour> colour = square;
    ComPtr<IShape> shape = square;
    ComPtr<IUnknown> fromColour = colour;
    ComPtr<IUnknown> fromShape = shape;
    ASSERT_TRUE(fromColour);
    EXPECT_EQ(fromColour.get(), fromShape.get());
    // IColour is the second base: its pointer differs from the first's, so identity needs the query.
    EXPECT_NE(static_cast<void*>(colour.get()), static_cast<void*>(shape.get()));
}

TEST(ObjectLifetime, DispatchMembersBesidesInvokeAreNotImplemented) {
    ComPtr<ISquare> square = makeComObject<Square>();
    UINT count = 7;
    EXPECT_EQ(square->GetTypeInfoCount(&count), E_NOTIMPL);
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = nullptr;
    EXPECT_EQ(square->GetTypeInfo(0, 0, &info), E_NOTIMPL);
    DISPID id = 0;
    EXPECT_EQ(square->GetIDsOfNames(IID_NULL, nullptr, 0, 0, &id), E_NOTIMPL);
}

// Hands itself to a smart pointer while it is being destroyed, as teardown code that notifies others may.
class Mirror : public ComObject<IShape> {
public:
    ~Mirror() override { ComPtr<IShape> self(this); }
    int corners() override { return 0; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, Variant*, EXCEPINFO*,
                                     UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

TEST(ObjectLifetime, ReferenceTakenDuringDestructionDoesNotDeleteAgain) {
    ComPtr<IShape> mirror = makeComObject<Mirror>();
    mirror = nullptr; // a second delete would show under the address sanitizer
}

TEST(SmartPointer, CountsCopiesMovesAndAssignments) {
    int alive = 0;
    ComPtr<Square> keeper = makeComObject<Square>(&alive);
    {
        ComPtr<Square> copy = keeper;
        EXPECT_EQ(keeper->refs(), 2u);
        ComPtr<Square> moved = std::move(copy);
        EXPECT_FALSE(copy);
        EXPECT_EQ(keeper->refs(), 2u);
        ComPtr<Square>& alias = moved;
        moved = alias; // self-assignment keeps the reference
        EXPECT_EQ(keeper->refs(), 2u);
        ComPtr<Square> other = makeComObject<Square>(&alive);
        EXPECT_EQ(alive, 2);
        other = moved; // lets go of the second square
        EXPECT_EQ(alive, 1);
        EXPECT_EQ(keeper->refs(), 3u);
        other = nullptr;
        EXPECT_EQ(keeper->refs(), 2u);
    }
    EXPECT_EQ(keeper->refs(), 1u);

    Square* raw = keeper.detach();
    EXPECT_FALSE(keeper);
    EXPECT_EQ(raw->refs(), 1u);
    keeper.attach(raw); // takes the reference over, no AddRef
    EXPECT_EQ(keeper->refs(), 1u);
    keeper.release();
    EXPECT_EQ(alive, 0);
}

TEST(SmartPointer, PointerOfAnotherInterfaceIsQueried) {
    ComPtr<IShape> shape = makeComObject<Square>();
    ComPtr<IColour> colour = shape; // a sideways query
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->rgb(), 0xFF0000);
    ComPtr<ISquare> square;
    square = colour.get();
    ASSERT_TRUE(square);
    EXPECT_EQ(square->side(), 2);
}

TEST(SmartPointer, RefusedQueryLeavesItEmptyWithoutRaising) {
    int alive = 0;
    {
        ComPtr<IShape> shape = makeComObject<Square>(&alive);
        ComPtr<IAbsent> absent = shape;
        EXPECT_FALSE(absent);
        ComPtr<IAbsent> held;
        held = shape;
        EXPECT_FALSE(held);
        ComPtr<IAbsent> fromNumber(Variant(5));
        EXPECT_FALSE(fromNumber);
    }
    EXPECT_EQ(alive, 0); // the refused queries took no reference
}

TEST(SmartPointer, FromAVariantHoldingAnObject) {
    ComPtr<ISquare> square = makeComObject<Square>();
    Variant v(square);
    EXPECT_EQ(v.vt(), VT_DISPATCH);
    ComPtr<IColour> colour = v;
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->rgb(), 0xFF0000);
}

TEST(SmartPointer, CallingThroughAnEmptyPointerRaisesTheAutomationError) {
    ComPtr<IShape> empty;
    try {
        empty->corners();
        FAIL() << "no exception";
    } catch (const ComError& e) {
        EXPECT_EQ(e.error(), E_POINTER);
    }
}

TEST(SmartPointer, OutParameterSlotReleasesWhatItHeld) {
    int alive = 0;
    ComPtr<ISquare> square = makeComObject<Square>(&alive);
    ComPtr<IShape> slot = makeComObject<Square>(&alive);
    EXPECT_EQ(alive, 2);
    ASSERT_EQ(square->QueryInterface(uuidof<IShape>(), reinterpret_cast<void**>(&slot)), S_OK);
    EXPECT_EQ(alive, 1);
    EXPECT_EQ(slot->corners(), 4);
}

} // namespace
