// The control's dispatch interface: construction values, range checks,
// notifications, the default property, class information and property browsing.
#include <gtest/gtest.h>

#include "mock_container.h"
#include "vitrel_contract.h"

namespace vitrel::test {
namespace {

TEST(ControlProperties, NewControlHasConstructionValues) {
    auto control = NewControl<IDispatch>();
    ASSERT_TRUE(control);
    EXPECT_EQ(GetShort(control.Get(), 1), 1);
    EXPECT_EQ(GetShort(control.Get(), 4), 1);
    EXPECT_EQ(GetShort(control.Get(), 3), 255);
    VARIANT color;
    ASSERT_EQ(GetProperty(control.Get(), 2, color), S_OK);
    ASSERT_TRUE(SUCCEEDED(VariantChangeType(&color, &color, 0, VT_UI4)));
    EXPECT_EQ(color.ulVal, GetSysColor(COLOR_BTNFACE));
    VARIANT layered;
    DISPPARAMS none{};
    ASSERT_EQ(control->Invoke(5, IID_NULL, 0, DISPATCH_METHOD, &none, &layered, nullptr, nullptr), S_OK);
    EXPECT_EQ(layered.vt, VT_BOOL);
    EXPECT_EQ(layered.boolVal, VARIANT_TRUE);  // this system has SetLayeredWindowAttributes
}

TEST(ControlProperties, OutOfRangeWritesChangeNothingAndNotifyNothing) {
    auto control = NewControl<IDispatch>();
    auto sink = NotifySink::Create();
    Connection connection(control.Get(), IID_IPropertyNotifySink, sink.Get());
    ASSERT_TRUE(connection.Connected());
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(control.As(persist), S_OK);

    EXPECT_EQ(PutShort(control.Get(), 1, 5), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 1, -1), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 0, 9), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 3, 256), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 3, -1), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 4, 2), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 4, -1), S_OK);

    EXPECT_EQ(GetShort(control.Get(), 1), 1);
    EXPECT_EQ(GetShort(control.Get(), 3), 255);
    EXPECT_EQ(GetShort(control.Get(), 4), 1);
    EXPECT_TRUE(sink->changed.empty());
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
}

TEST(ControlProperties, AcceptedWritesNotifyEvenWhenUnchanged) {
    auto control = NewControl<IDispatch>();
    auto sink = NotifySink::Create();
    Connection connection(control.Get(), IID_IPropertyNotifySink, sink.Get());
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(control.As(persist), S_OK);

    EXPECT_EQ(PutShort(control.Get(), 1, 1), S_OK);  // the same value again
    EXPECT_EQ(PutShort(control.Get(), 1, 4), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 0, 2), S_OK);  // the default property is TransMode
    EXPECT_EQ(PutLong(control.Get(), 2, 0x00E3DFE0), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 3, 0), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 3, 255), S_OK);
    EXPECT_EQ(PutShort(control.Get(), 4, 0), S_OK);
    EXPECT_EQ(sink->changed, (std::vector<DISPID>{1, 1, 1, 2, 3, 3, 4}));

    EXPECT_EQ(GetShort(control.Get(), 1), 2);
    EXPECT_EQ(GetShort(control.Get(), 0), 2);
    EXPECT_EQ(GetShort(control.Get(), 3), 255);
    EXPECT_EQ(GetShort(control.Get(), 4), 0);
    EXPECT_EQ(persist->IsDirty(), S_OK);
}

TEST(ControlProperties, LayeredColorTakesAnyThirtyTwoBitsAndReadsAsLong) {
    auto control = NewControl<IDispatch>();
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_UI4;
    value.ulVal = 0x80000005u;  // a system colour
    EXPECT_EQ(PutProperty(control.Get(), 2, value), S_OK);
    VARIANT read;
    ASSERT_EQ(GetProperty(control.Get(), 2, read), S_OK);
    EXPECT_EQ(read.vt, VT_I4);  // script hosts know no unsigned long
    EXPECT_EQ(static_cast<DWORD>(read.lVal), 0x80000005u);
    EXPECT_EQ(PutLong(control.Get(), 2, static_cast<LONG>(0x80000008u)), S_OK);
    ASSERT_EQ(GetProperty(control.Get(), 2, read), S_OK);
    EXPECT_EQ(static_cast<DWORD>(read.lVal), 0x80000008u);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(L"not a colour");
    EXPECT_TRUE(FAILED(PutProperty(control.Get(), 2, value)));
    VariantClear(&value);
    ASSERT_EQ(GetProperty(control.Get(), 2, read), S_OK);
    EXPECT_EQ(static_cast<DWORD>(read.lVal), 0x80000008u);
    // A double and text, up to all ones.
    value.vt = VT_R8;
    value.dblVal = 4294967295.0;
    EXPECT_EQ(PutProperty(control.Get(), 2, value), S_OK);
    ASSERT_EQ(GetProperty(control.Get(), 2, read), S_OK);
    EXPECT_EQ(static_cast<DWORD>(read.lVal), 0xFFFFFFFFu);
    for (const wchar_t* text : {L"&HFF000000", L"4278190080"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(text)));
        value.vt = VT_BSTR;
        value.bstrVal = SysAllocString(text);
        EXPECT_EQ(PutProperty(control.Get(), 2, value), S_OK);
        VariantClear(&value);
        ASSERT_EQ(GetProperty(control.Get(), 2, read), S_OK);
        EXPECT_EQ(read.vt, VT_I4);
        EXPECT_EQ(static_cast<DWORD>(read.lVal), 0xFF000000u);
    }
}

// Hosts that enumerate the connection points find the events and the
// property notifications.
TEST(ControlProperties, ConnectionPointsEnumerate) {
    auto container = NewControl<IConnectionPointContainer>();
    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(points.Put()), S_OK);
    IConnectionPoint* found[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(points->Next(3, found, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    IID iids[2] = {};
    for (ULONG i = 0; i < fetched; ++i) {
        EXPECT_EQ(found[i]->GetConnectionInterface(&iids[i]), S_OK);
        found[i]->Release();
    }
    EXPECT_EQ(iids[0], contract::kEventsId);
    EXPECT_EQ(iids[1], IID_IPropertyNotifySink);
    EXPECT_EQ(points->Reset(), S_OK);
    EXPECT_EQ(points->Skip(1), S_OK);
    ComPtr<IEnumConnectionPoints> copy;
    ASSERT_EQ(points->Clone(copy.Put()), S_OK);
    ComPtr<IConnectionPoint> second;
    EXPECT_EQ(copy->Next(1, second.Put(), nullptr), S_OK);
    IID iid{};
    ASSERT_TRUE(second);
    second->GetConnectionInterface(&iid);
    EXPECT_EQ(iid, IID_IPropertyNotifySink);
    EXPECT_EQ(copy->Skip(5), S_FALSE);
}

// Both enumerators hold two items. Skip answers S_OK exactly when it skipped
// all it was asked to, and a huge count stops at the end instead of wrapping
// round to the start.
TEST(ControlProperties, EnumeratorsSkipToTheEndAndNoFurther) {
    auto object = NewControl<IOleObject>();
    ComPtr<IEnumOLEVERB> verbs;
    ASSERT_EQ(object->EnumVerbs(verbs.Put()), S_OK);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(object.As(container), S_OK);
    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(container->EnumConnectionPoints(points.Put()), S_OK);

    EXPECT_EQ(verbs->Skip(2), S_OK);
    EXPECT_EQ(points->Skip(2), S_OK);
    EXPECT_EQ(verbs->Reset(), S_OK);
    EXPECT_EQ(points->Reset(), S_OK);
    EXPECT_EQ(verbs->Skip(1), S_OK);
    EXPECT_EQ(points->Skip(1), S_OK);
    EXPECT_EQ(verbs->Skip(0xFFFFFFFFu), S_FALSE);
    EXPECT_EQ(points->Skip(0xFFFFFFFFu), S_FALSE);

    OLEVERB verb{};
    ULONG fetched = 1;
    EXPECT_EQ(verbs->Next(1, &verb, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(points->Next(1, point.Put(), nullptr), S_FALSE);
    EXPECT_FALSE(point);
}

TEST(ControlProperties, DefaultPropertyIsTransMode) {
    auto control = NewControl<IDispatch>();
    // A value taken without a member name, as VB does with "x = control".
    VARIANT value;
    DISPPARAMS none{};
    ASSERT_EQ(control->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, &value,
                              nullptr, nullptr),
              S_OK);
    EXPECT_EQ(value.vt, VT_I2);
    EXPECT_EQ(value.iVal, 1);
    ASSERT_EQ(PutShort(control.Get(), DISPID_VALUE, 3), S_OK);
    EXPECT_EQ(GetShort(control.Get(), 1), 3);
}

TEST(ControlProperties, NamesAndArgumentsThroughTheTypeInformation) {
    auto control = NewControl<IDispatch>();
    const wchar_t* names[] = {L"TransMode", L"_TransMode", L"LayeredColor", L"LayeredAlpha",
                              L"LayeredFlag", L"IsLayered", L"AboutBox", L"layeredalpha"};
    const DISPID expected[] = {1, 0, 2, 3, 4, 5, DISPID_ABOUTBOX, 3};
    for (size_t i = 0; i < std::size(names); ++i) {
        LPOLESTR name = const_cast<LPOLESTR>(names[i]);
        DISPID id = 12345;
        EXPECT_EQ(control->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK) << i;
        EXPECT_EQ(id, expected[i]) << i;
    }
    LPOLESTR unknown = const_cast<LPOLESTR>(L"Opacity");
    DISPID id = 0;
    EXPECT_EQ(control->GetIDsOfNames(IID_NULL, &unknown, 1, 0, &id), DISP_E_UNKNOWNNAME);

    // A string argument is coerced by the system, as script hosts need.
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"3");
    EXPECT_EQ(PutProperty(control.Get(), 1, text), S_OK);
    VariantClear(&text);
    EXPECT_EQ(GetShort(control.Get(), 1), 3);

    ComPtr<ITypeInfo> info;
    ASSERT_EQ(control->GetTypeInfo(0, 0, info.Put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    // The type library (from the IDL) and the contract name the same interface.
    EXPECT_EQ(attr->guid, contract::kDispatchId);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    info->ReleaseTypeAttr(attr);
}

TEST(ControlProperties, ClassInformationNamesTheEventInterface) {
    auto info2 = NewControl<IProvideClassInfo2>();
    ASSERT_TRUE(info2);
    GUID source{};
    ASSERT_EQ(info2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
    EXPECT_EQ(source, contract::kEventsId);
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(info2->GetClassInfo(coclass.Put()), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, contract::kControlClass);
    coclass->ReleaseTypeAttr(attr);
}

TEST(PropertyBrowsing, PredefinedStringsAndValues) {
    auto browsing = NewControl<IPerPropertyBrowsing>();
    ASSERT_TRUE(browsing);
    const std::vector<std::wstring> modes = {L"0 - \u7121\u52b9", L"1 - \u900f\u904e(Client)",
                                             L"2 - \u58c1\u7d19\u900f\u904e(Client)", L"3 - \u900f\u904e(Window)",
                                             L"4 - \uff9a\uff72\uff94\uff70\uff84\uff9e\uff73\uff68\uff9d\uff84\uff9e\uff73"};
    const std::vector<std::wstring> flags = {L"0 - COLORKEY", L"1 - ALPHA"};
    for (const auto& [id, expected] : {std::pair{DISPID{1}, modes}, std::pair{DISPID{4}, flags}}) {
        CALPOLESTR strings{};
        CADWORD cookies{};
        ASSERT_EQ(browsing->GetPredefinedStrings(id, &strings, &cookies), S_OK);
        ASSERT_EQ(strings.cElems, expected.size());
        ASSERT_EQ(cookies.cElems, expected.size());
        for (ULONG i = 0; i < strings.cElems; ++i) {
            EXPECT_EQ(std::wstring(strings.pElems[i]), expected[i]);
            EXPECT_EQ(cookies.pElems[i], i);
            VARIANT value;
            VariantInit(&value);
            ASSERT_EQ(browsing->GetPredefinedValue(id, cookies.pElems[i], &value), S_OK);
            EXPECT_EQ(value.vt, VT_I2);
            EXPECT_EQ(value.iVal, static_cast<short>(i));
            CoTaskMemFree(strings.pElems[i]);
        }
        CoTaskMemFree(strings.pElems);
        CoTaskMemFree(cookies.pElems);
    }
    CALPOLESTR strings{};
    CADWORD cookies{};
    EXPECT_TRUE(FAILED(browsing->GetPredefinedStrings(3, &strings, &cookies)));
    EXPECT_EQ(strings.cElems, 0u);
    VARIANT value;
    VariantInit(&value);
    EXPECT_TRUE(FAILED(browsing->GetPredefinedValue(1, 5, &value)));
}

TEST(PropertyBrowsing, DisplayStringFollowsTheValue) {
    auto browsing = NewControl<IPerPropertyBrowsing>();
    ComPtr<IDispatch> control;
    ASSERT_EQ(browsing.As(control), S_OK);
    auto display = [&](DISPID id) {
        BSTR text = nullptr;
        const HRESULT hr = browsing->GetDisplayString(id, &text);
        std::wstring result = SUCCEEDED(hr) && text ? std::wstring(text) : L"<failed>";
        SysFreeString(text);
        return result;
    };
    EXPECT_EQ(display(1), L"1 - \u900f\u904e(Client)");
    EXPECT_EQ(display(4), L"1 - ALPHA");
    PutShort(control.Get(), 1, 4);
    PutShort(control.Get(), 4, 0);
    EXPECT_EQ(display(1), L"4 - \uff9a\uff72\uff94\uff70\uff84\uff9e\uff73\uff68\uff9d\uff84\uff9e\uff73");
    EXPECT_EQ(display(4), L"0 - COLORKEY");
    EXPECT_EQ(display(3), L"<failed>");  // the browser's own display for LayeredAlpha
}

TEST(PropertyBrowsing, PagesAreOwnPageThenColourPage) {
    auto pages = NewControl<ISpecifyPropertyPages>();
    ASSERT_TRUE(pages);
    CAUUID ids{};
    ASSERT_EQ(pages->GetPages(&ids), S_OK);
    ASSERT_EQ(ids.cElems, 2u);
    EXPECT_EQ(ids.pElems[0], kClsidPropPage);
    EXPECT_EQ(ids.pElems[1], kClsidStockColorPage);
    CoTaskMemFree(ids.pElems);
}

TEST(ControlObject, OleObjectAnswers) {
    auto object = NewControl<IOleObject>();
    ASSERT_TRUE(object);
    DWORD misc = 0;
    EXPECT_EQ(object->GetMiscStatus(DVASPECT_CONTENT, &misc), S_OK);
    EXPECT_EQ(misc, 139665u);
    LPOLESTR name = nullptr;
    ASSERT_EQ(object->GetUserType(USERCLASSTYPE_FULL, &name), S_OK);
    EXPECT_EQ(std::wstring(name), L"Vitrel32 Control");
    CoTaskMemFree(name);
    SIZEL extent{};
    EXPECT_EQ(object->GetExtent(DVASPECT_CONTENT, &extent), S_OK);
    EXPECT_EQ(extent.cx, 741);
    EXPECT_EQ(extent.cy, 741);

    ComPtr<IEnumOLEVERB> verbs;
    ASSERT_EQ(object->EnumVerbs(verbs.Put()), S_OK);
    OLEVERB verb[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(verbs->Next(3, verb, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 2u);
    EXPECT_EQ(verb[0].lVerb, OLEIVERB_PRIMARY);
    EXPECT_EQ(verb[1].lVerb, OLEIVERB_PROPERTIES);
    CoTaskMemFree(verb[0].lpszVerbName);
    CoTaskMemFree(verb[1].lpszVerbName);

    // No safety marking: a web page may not drive the control.
    ComPtr<IUnknown> safety;
    const IID iidObjectSafety = {0xCB5BDC81, 0x93C1, 0x11CF, {0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64}};
    EXPECT_EQ(object->QueryInterface(iidObjectSafety, safety.PutVoid()), E_NOINTERFACE);
}

TEST(ControlObject, InterfacesShareOneIdentityAndReferencesBalance) {
    {
        auto object = NewControl<IOleObject>();
        ComPtr<IUnknown> a, b;
        ASSERT_EQ(object.As(a), S_OK);
        ComPtr<IViewObject2> view;
        ASSERT_EQ(object.As(view), S_OK);
        ASSERT_EQ(view.As(b), S_OK);
        EXPECT_EQ(a.Get(), b.Get());
        EXPECT_EQ(Module::Get().CanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(Module::Get().CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace vitrel::test
