// The control's property exchange: the 26-byte stream, other versions,
// storages and property bags.
#include <gtest/gtest.h>

#include <map>

#include "mock_container.h"

namespace vitrel::test {
namespace {

// A property bag that keeps the order in which names were written.
class OrderedBag final : public TestObject<OrderedBag, IPropertyBag> {
public:
    // As the system's bags do: the value as stored when asked for VT_EMPTY,
    // else converted to the type asked for.
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
        for (auto& [key, stored] : entries) {
            if (key != name) continue;
            const VARTYPE wanted = value->vt;
            VariantInit(value);
            if (wanted == VT_EMPTY) return VariantCopy(value, &stored);
            return VariantChangeType(value, &stored, 0, wanted);
        }
        return E_INVALIDARG;
    }
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override {
        entries.emplace_back(name, VARIANT{});
        VariantInit(&entries.back().second);
        return VariantCopy(&entries.back().second, value);
    }
    std::vector<std::pair<std::wstring, VARIANT>> entries;

    ~OrderedBag() override {
        for (auto& entry : entries) VariantClear(&entry.second);
    }
};

// The names of the values a load could not take.
class RecordingLog final : public TestObject<RecordingLog, IErrorLog> {
public:
    STDMETHODIMP AddError(LPCOLESTR name, EXCEPINFO* error) override {
        names.emplace_back(name);
        EXPECT_TRUE(error && FAILED(error->scode));
        return S_OK;
    }
    std::vector<std::wstring> names;
};

VARIANT Text(const wchar_t* text) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text);
    return value;
}

VARIANT Number(VARTYPE type, double number) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R8;
    value.dblVal = number;
    VariantChangeType(&value, &value, 0, type);
    return value;
}

// A bag may hold LayeredColor in any form a host writes it: every 32-bit
// value is taken; what does not convert is reported and left as it was.
TEST(Persistence, BagColourInEveryFormUpToAllOnes) {
    struct Case {
        VARIANT stored;
        DWORD expected;
    };
    Case taken[] = {
        {Number(VT_UI4, 2147483653.0), 0x80000005u},
        {Number(VT_I4, -2147483643.0), 0x80000005u},
        {Number(VT_R8, 4278190080.0), 0xFF000000u},
        {Text(L"&HFFFFFFFF"), 0xFFFFFFFFu},
        {Text(L"4294967295"), 0xFFFFFFFFu},
        {Text(L"&H00E3DFE0"), 0x00E3DFE0u},
    };
    for (Case& c : taken) {
        SCOPED_TRACE(c.expected);
        auto bag = OrderedBag::Create();
        bag->Write(L"LayeredColor", &c.stored);
        auto log = RecordingLog::Create();
        auto persist = NewControl<IPersistPropertyBag>();
        ASSERT_EQ(persist->Load(bag.Get(), log.Get()), S_OK);
        EXPECT_TRUE(log->names.empty());
        ComPtr<IDispatch> control;
        ASSERT_EQ(persist.As(control), S_OK);
        VARIANT read;
        ASSERT_EQ(GetProperty(control.Get(), 2, read), S_OK);
        EXPECT_EQ(read.vt, VT_I4);
        EXPECT_EQ(static_cast<DWORD>(read.lVal), c.expected);
        VariantClear(&c.stored);
    }
    VARIANT refused[] = {Text(L"red"), Text(L"&H100000000"), Number(VT_R8, 5e9), Number(VT_R8, -3e9)};
    for (VARIANT& stored : refused) {
        auto bag = OrderedBag::Create();
        bag->Write(L"LayeredColor", &stored);
        auto log = RecordingLog::Create();
        auto persist = NewControl<IPersistPropertyBag>();
        ASSERT_EQ(persist->Load(bag.Get(), log.Get()), S_OK);
        ASSERT_EQ(log->names.size(), 1u);
        EXPECT_EQ(log->names[0], L"LayeredColor");
        ComPtr<IDispatch> control;
        ASSERT_EQ(persist.As(control), S_OK);
        VARIANT read;
        ASSERT_EQ(GetProperty(control.Get(), 2, read), S_OK);
        EXPECT_EQ(static_cast<DWORD>(read.lVal), GetSysColor(COLOR_BTNFACE));
        VariantClear(&stored);
    }
}

TEST(Persistence, ClockValuesSaveAsTheStoredTwentySixBytes) {
    auto control = NewControl<IDispatch>();
    ComPtr<IOleObject> object;
    ASSERT_EQ(control.As(object), S_OK);
    SIZEL extent{741, 741};
    ASSERT_EQ(object->SetExtent(DVASPECT_CONTENT, &extent), S_OK);
    PutShort(control.Get(), 1, 0);
    PutShort(control.Get(), 3, 255);
    PutShort(control.Get(), 4, 0);
    PutLong(control.Get(), 2, 0x00E3DFE0);

    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(control.As(persist), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_OK);
    ULARGE_INTEGER size{};
    ASSERT_EQ(persist->GetSizeMax(&size), S_OK);
    EXPECT_EQ(size.QuadPart, 26u);
    auto stream = StreamOf({});
    ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
    EXPECT_EQ(BytesOf(stream.Get()), ClockStream());
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
}

TEST(Persistence, StoredStreamLoadsWithoutRangeCheck) {
    auto persist = NewControl<IPersistStreamInit>();
    ComPtr<IDispatch> control;
    ASSERT_EQ(persist.As(control), S_OK);
    ASSERT_EQ(persist->Load(StreamOf(ClockStream()).Get()), S_OK);
    EXPECT_EQ(GetShort(control.Get(), 1), 0);
    EXPECT_EQ(GetShort(control.Get(), 3), 255);
    EXPECT_EQ(GetShort(control.Get(), 4), 0);
    VARIANT color;
    ASSERT_EQ(GetProperty(control.Get(), 2, color), S_OK);
    VariantChangeType(&color, &color, 0, VT_UI4);
    EXPECT_EQ(color.ulVal, 0x00E3DFE0u);

    auto seven = ClockStream();
    seven[16] = 7;
    auto other = NewControl<IPersistStreamInit>();
    ASSERT_EQ(other->Load(StreamOf(seven).Get()), S_OK);
    ComPtr<IDispatch> otherControl;
    ASSERT_EQ(other.As(otherControl), S_OK);
    EXPECT_EQ(GetShort(otherControl.Get(), 1), 7);
    ComPtr<IPerPropertyBrowsing> browsing;
    ASSERT_EQ(other.As(browsing), S_OK);
    BSTR text = nullptr;
    ASSERT_EQ(browsing->GetDisplayString(1, &text), S_OK);
    EXPECT_EQ(SysStringLen(text), 0u);
    SysFreeString(text);

    // A stream cut short is an error, not a half-loaded control.
    auto shortStream = ClockStream();
    shortStream.resize(20);
    shortStream[4] = 0xE8;  // 1000 x 741
    shortStream[5] = 0x03;
    auto third = NewControl<IPersistStreamInit>();
    EXPECT_TRUE(FAILED(third->Load(StreamOf(shortStream).Get())));
    ComPtr<IOleObject> object;
    ASSERT_EQ(third.As(object), S_OK);
    SIZEL extent{};
    ASSERT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
    EXPECT_EQ(extent.cx, 741);
}

TEST(Persistence, AnotherVersionResetsToConstructionValues) {
    auto persist = NewControl<IPersistStreamInit>();
    ComPtr<IDispatch> control;
    ASSERT_EQ(persist.As(control), S_OK);
    PutShort(control.Get(), 1, 3);
    PutShort(control.Get(), 3, 10);
    auto stream = ClockStream();
    stream[0] = 0x01;  // version 1.1
    ASSERT_EQ(persist->Load(StreamOf(stream).Get()), S_OK);
    EXPECT_EQ(GetShort(control.Get(), 1), 1);
    EXPECT_EQ(GetShort(control.Get(), 3), 255);
    EXPECT_EQ(GetShort(control.Get(), 4), 1);
    VARIANT color;
    ASSERT_EQ(GetProperty(control.Get(), 2, color), S_OK);
    VariantChangeType(&color, &color, 0, VT_UI4);
    EXPECT_EQ(color.ulVal, GetSysColor(COLOR_BTNFACE));
}

TEST(Persistence, PropertyBagRoundTripsTheNamesInOrder) {
    auto control = NewControl<IDispatch>();
    PutShort(control.Get(), 1, 4);
    PutShort(control.Get(), 3, 50);
    PutShort(control.Get(), 4, 0);
    PutLong(control.Get(), 2, 0x00123456);
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(control.As(persist), S_OK);
    auto bag = OrderedBag::Create();
    ASSERT_EQ(persist->Save(bag.Get(), TRUE, TRUE), S_OK);
    std::vector<std::wstring> names;
    for (const auto& entry : bag->entries) names.push_back(entry.first);
    ASSERT_EQ(names.size(), 8u);
    EXPECT_EQ(std::vector<std::wstring>(names.end() - 4, names.end()),
              (std::vector<std::wstring>{L"TransMode", L"LayeredAlpha", L"LayeredFlag", L"LayeredColor"}));

    auto copy = NewControl<IPersistPropertyBag>();
    ASSERT_EQ(copy->Load(bag.Get(), nullptr), S_OK);
    ComPtr<IDispatch> copied;
    ASSERT_EQ(copy.As(copied), S_OK);
    EXPECT_EQ(GetShort(copied.Get(), 1), 4);
    EXPECT_EQ(GetShort(copied.Get(), 3), 50);
    EXPECT_EQ(GetShort(copied.Get(), 4), 0);
    VARIANT color;
    ASSERT_EQ(GetProperty(copied.Get(), 2, color), S_OK);
    VariantChangeType(&color, &color, 0, VT_UI4);
    EXPECT_EQ(color.ulVal, 0x00123456u);

    // A bag without the four entries leaves the fields as they were.
    auto empty = OrderedBag::Create();
    auto untouched = NewControl<IPersistPropertyBag>();
    ASSERT_EQ(untouched->Load(empty.Get(), nullptr), S_OK);
    ComPtr<IDispatch> untouchedControl;
    ASSERT_EQ(untouched.As(untouchedControl), S_OK);
    EXPECT_EQ(GetShort(untouchedControl.Get(), 1), 1);
    EXPECT_EQ(GetShort(untouchedControl.Get(), 3), 255);
}

TEST(Persistence, StorageHoldsTheSameStream) {
    ComPtr<IStorage> storage;
    ASSERT_EQ(StgCreateDocfile(nullptr, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_DELETEONRELEASE,
                               0, storage.Put()),
              S_OK);
    auto persist = NewControl<IPersistStorage>();
    ComPtr<IDispatch> control;
    ASSERT_EQ(persist.As(control), S_OK);
    ASSERT_EQ(persist->InitNew(storage.Get()), S_OK);
    PutShort(control.Get(), 1, 2);
    ASSERT_EQ(persist->Save(storage.Get(), TRUE), S_OK);
    ASSERT_EQ(persist->SaveCompleted(nullptr), S_OK);

    auto loaded = NewControl<IPersistStorage>();
    ASSERT_EQ(loaded->Load(storage.Get()), S_OK);
    ComPtr<IDispatch> loadedControl;
    ASSERT_EQ(loaded.As(loadedControl), S_OK);
    EXPECT_EQ(GetShort(loadedControl.Get(), 1), 2);
}

}  // namespace
}  // namespace vitrel::test
