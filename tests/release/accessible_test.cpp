// The clock read from another process as a screen reader reads it: the real
// QV.exe in a scratch program folder, the IAccessible of its client area
// through AccessibleObjectFromWindow (oleacc): the buttons, the names and
// times of ten places, states, locations, one name change per changed
// caption, a default action that opens 設定変更 with its first control
// focused, and the settings windows' fields named for a screen reader.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include "com_ptr.h"
#include "ole_scope.h"
#include "tests/release/qv_run.h"

namespace qv::release {
namespace {

using namespace std::chrono_literals;
using win::ComPtr;

constexpr const wchar_t* kPlaces[10] = {L"東京", L"ロンドン", L"ニューヨーク", L"シドニー", L"パリ",
                                        L"モスクワ", L"北京",   L"ソウル",       L"ドバイ",   L"ホノルル"};
// The fixed child ids: buttons 1..3, then place n's name 2n + 2 and time 2n + 3.
constexpr long NameChild(int place) { return 2 * place + 2; }
constexpr long TimeChild(int place) { return 2 * place + 3; }

VARIANT Child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Take(BSTR text) {
    std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return out;
}

std::wstring Name(IAccessible* acc, long id) {
    BSTR text = nullptr;
    acc->get_accName(Child(id), &text);
    return Take(text);
}

std::wstring Description(IAccessible* acc, long id) {
    BSTR text = nullptr;
    acc->get_accDescription(Child(id), &text);
    return Take(text);
}

long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible* acc, long id) {
    VARIANT out;
    VariantInit(&out);
    if (FAILED((acc->*get)(Child(id), &out)) || out.vt != VT_I4) return -1;
    return out.lVal;
}

bool IsTime(const std::wstring& text) {  // "hh:mm:ss"
    if (text.size() != 8) return false;
    for (std::size_t i = 0; i < 8; ++i) {
        if (i == 2 || i == 5 ? text[i] != L':' : !iswdigit(text[i])) return false;
    }
    return true;
}

template <class Pred>
bool PumpUntil(Pred pred, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

struct WinEvent {
    HWND hwnd;
    LONG object;
    LONG child;
};
std::vector<WinEvent> g_nameChanges;

void CALLBACK RecordNameChange(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    g_nameChanges.push_back({hwnd, object, child});
}

// The names and descriptions of a window's text and combo boxes, as a screen reader reads them.
std::multimap<std::wstring, std::wstring> FieldNames(HWND window) {
    std::multimap<std::wstring, std::wstring> fields;
    EnumChildWindows(window, [](HWND child, LPARAM lp) -> BOOL CALLBACK {
        wchar_t cls[32] = {};
        GetClassNameW(child, cls, 32);
        ComPtr<IAccessible> acc;
        if ((!_wcsicmp(cls, L"Edit") || !_wcsicmp(cls, L"ComboBox")) &&
            SUCCEEDED(AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                 acc.PutVoid()))) {
            reinterpret_cast<std::multimap<std::wstring, std::wstring>*>(lp)->emplace(
                Name(acc.Get(), CHILDID_SELF), Description(acc.Get(), CHILDID_SELF));
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&fields));
    return fields;
}

class AccessibleClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.path().empty());
        ASSERT_TRUE(CopyFileW(HostPath(QV_RELEASE_QV_EXE).c_str(), JoinPath(folder.path(), L"QV.exe").c_str(), FALSE));
        std::vector<std::wstring> places{L"名称"};
        places.insert(places.end(), std::begin(kPlaces), std::end(kPlaces));
        for (const wchar_t* section : {L"時差", L"始業時間", L"終業時間", L"サマータイム情報"}) {
            places.push_back(section);
            for (int n = 1; n <= 10; ++n) places.push_back(L"");
        }
        places[23] = L"0:00";   // 東京 works round the clock: its name shows the work colour
        places[34] = L"23:59";
        places[48] = L" 1 ";    // シドニー keeps summer time
        places.insert(places.end(), {L"タイムゾーン", L"Tokyo Standard Time"});  // 東京 follows its zone
        places.resize(places.size() + 9);
        ASSERT_TRUE(WriteShiftJisLines(JoinPath(folder.path(), L"STEI.QV"), places));
        // A format with seconds, so that captions change while the test looks.
        ASSERT_TRUE(WriteShiftJisLines(JoinPath(folder.path(), L"STEI1.QV"),
                                       {L"色", L"0", L"12648447", L"16711680", L"0", L"フォームピクチャー", L"",
                                        L"透明かどうか", L"0", L"日時表示形式", L"hh:mm:ss", L"表示内容寸法", L" 180 ",
                                        L" 1095 ", L"フォント情報", L"False", L"False", L"ＭＳ ゴシック", L" 8 ",
                                        L" 75 "}));
        ASSERT_TRUE(WriteShiftJisLines(JoinPath(folder.path(), L"STEI2.QV"),
                                       {L"フォーム情報", L" 0 ", L"位置サイズ情報", L" 600 ", L" 3000 ", L" 4000 ",
                                        L" 600 ", L"フォーム切替情報", L" 0 "}));
    }

    // The clock's client area as a screen reader gets it, once the times show.
    ComPtr<IAccessible> ReadClock(HWND clock) {
        ComPtr<IAccessible> acc;
        HRESULT hr = AccessibleObjectFromWindow(clock, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                acc.PutVoid());
        EXPECT_EQ(hr, S_OK);
        if (acc) {
            EXPECT_TRUE(PumpUntil([&] { return !Name(acc.Get(), TimeChild(10)).empty(); }, 10s));
        }
        return acc;
    }

    ScratchFolder folder{L"qv-accessible-"};
    win::ComScope com;
};

TEST_F(AccessibleClockTest, TheTreeFromAnotherProcessAndADefaultActionThatWorks) {
    RunningProgram qv(JoinPath(folder.path(), L"QV.exe"), L"", folder.path());
    ASSERT_TRUE(qv.started()) << qv.error();
    HWND clock = qv.WaitForClockWindow(20s);
    ASSERT_NE(clock, nullptr);
    ComPtr<IAccessible> acc = ReadClock(clock);
    ASSERT_TRUE(acc);
    IAccessible* a = acc.Get();

    long count = 0;
    EXPECT_EQ(a->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 23);
    EXPECT_EQ(Number(&IAccessible::get_accRole, a, CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    const wchar_t* buttons[] = {L"終了", L"画面切り替え", L"設定変更"};
    for (long b = 1; b <= 3; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(Name(a, b), buttons[b - 1]);
        EXPECT_EQ(Number(&IAccessible::get_accRole, a, b), ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(Number(&IAccessible::get_accState, a, b) & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_INVISIBLE),
                  STATE_SYSTEM_FOCUSABLE);
        BSTR action = nullptr;
        EXPECT_EQ(a->get_accDefaultAction(Child(b), &action), S_OK);
        EXPECT_FALSE(Take(action).empty());
    }
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Name(a, NameChild(n)), kPlaces[n - 1]);
        EXPECT_TRUE(IsTime(Name(a, TimeChild(n)))) << Name(a, TimeChild(n)).size();
        EXPECT_EQ(Number(&IAccessible::get_accRole, a, NameChild(n)), ROLE_SYSTEM_STATICTEXT);
        EXPECT_EQ(Number(&IAccessible::get_accRole, a, TimeChild(n)), ROLE_SYSTEM_STATICTEXT);
        EXPECT_FALSE(Number(&IAccessible::get_accState, a, TimeChild(n)) & STATE_SYSTEM_INVISIBLE);
    }
    EXPECT_EQ(Description(a, NameChild(1)), L"就業時間中");
    EXPECT_EQ(Description(a, NameChild(2)), L"");
    EXPECT_EQ(Description(a, TimeChild(4)), L"サマータイム");
    EXPECT_EQ(Description(a, TimeChild(5)), L"");
    VARIANT none = Child(24);
    BSTR text = nullptr;
    EXPECT_EQ(a->get_accName(none, &text), E_INVALIDARG);

    // Where each child is, and which child is where (a magnifier follows these).
    RECT window{};
    GetWindowRect(clock, &window);
    for (long id : {3L, NameChild(1), TimeChild(10)}) {
        SCOPED_TRACE(id);
        long x = 0, y = 0, w = 0, h = 0;
        ASSERT_EQ(a->accLocation(&x, &y, &w, &h, Child(id)), S_OK);
        EXPECT_GT(w, 0);
        EXPECT_GT(h, 0);
        EXPECT_TRUE(x >= window.left && y >= window.top && x + w <= window.right && y + h <= window.bottom);
        VARIANT hit;
        VariantInit(&hit);
        // Below the middle: the circles overlap their neighbours' boxes above.
        ASSERT_EQ(a->accHitTest(x + w / 2, y + h * 3 / 4, &hit), S_OK);
        EXPECT_EQ(hit.vt, VT_I4);
        EXPECT_EQ(hit.lVal, id);
    }

    // The keyboard's focus: Tab puts it on the first button.
    PostMessageW(clock, WM_KEYDOWN, VK_TAB, 0x000F0001);
    ASSERT_TRUE(PumpUntil([&] { return Number(&IAccessible::get_accState, a, 1) & STATE_SYSTEM_FOCUSED; }, 5s))
        << "the clock window has no keyboard focus";
    VARIANT focus;
    VariantInit(&focus);
    EXPECT_EQ(a->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(focus.lVal, 1);
    EXPECT_FALSE(Number(&IAccessible::get_accState, a, 2) & STATE_SYSTEM_FOCUSED);

    // "設定変更" pressed by the screen reader: the call returns, then the window follows.
    EXPECT_EQ(a->accDoDefaultAction(Child(3)), S_OK);
    HWND henko = qv.WaitForWindow({L"QV.HENKO"}, 10s);
    ASSERT_NE(henko, nullptr);
    EXPECT_FALSE(IsWindow(clock));
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(PumpUntil([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(henko, nullptr), &info) && info.hwndFocus;
    }, 5s));
    wchar_t caption[64] = {};
    GetWindowTextW(info.hwndFocus, caption, 64);
    EXPECT_STREQ(caption, L"名称標準表示色") << "設定変更 opens on its selected colour option";
    EXPECT_EQ(FieldNames(henko).count(L"画像"), 1u) << "the picture's box";

    // 初期設定: each of the forty fields by its column and row, whatever came before it on screen.
    HWND syokiButton = FindWindowExW(henko, nullptr, L"Button", L"初期設定");
    ASSERT_NE(syokiButton, nullptr);
    PostMessageW(syokiButton, BM_CLICK, 0, 0);
    HWND syoki = qv.WaitForWindow({L"QV.SYOKI"}, 10s);
    ASSERT_NE(syoki, nullptr);
    const auto fields = FieldNames(syoki);
    std::set<std::wstring> names;
    for (const auto& field : fields) names.insert(field.first);
    std::set<std::wstring> expected;
    for (int n = 1; n <= 10; ++n) {
        for (const wchar_t* column : {L"名称", L"時差", L"始業時刻", L"終業時刻"})
            expected.insert(std::wstring(column) + L" (" + std::to_wstring(n) + L"行目)");
    }
    EXPECT_EQ(names, expected);
    auto zone = fields.equal_range(L"時差 (1行目)");
    ASSERT_NE(zone.first, zone.second);
    for (auto it = zone.first; it != zone.second; ++it)
        EXPECT_NE(it->second.find(L"[Tokyo Standard Time]"), std::wstring::npos) << "the zone in its description";
}

TEST_F(AccessibleClockTest, EachChangedCaptionRaisesOneNameChangeForItsChild) {
    RunningProgram qv(JoinPath(folder.path(), L"QV.exe"), L"", folder.path());
    ASSERT_TRUE(qv.started()) << qv.error();
    HWND clock = qv.WaitForClockWindow(20s);
    ASSERT_NE(clock, nullptr);
    g_nameChanges.clear();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, RecordNameChange,
                                         qv.id(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    // Three ticks of the first place: the two seconds between them are whole.
    auto ticksOfFirst = [] {
        int n = 0;
        for (const WinEvent& e : g_nameChanges) n += e.child == TimeChild(1);
        return n;
    };
    const bool ticked = PumpUntil([&] { return ticksOfFirst() >= 3; }, 10s);
    UnhookWinEvent(hook);
    ASSERT_TRUE(ticked) << g_nameChanges.size() << " name changes";

    std::map<LONG, int> perChild;
    int seen = 0;
    for (const WinEvent& e : g_nameChanges) {
        EXPECT_EQ(e.hwnd, clock);
        EXPECT_EQ(e.object, OBJID_CLIENT);
        if (e.child == TimeChild(1)) ++seen;
        if (seen == 1 || seen == 2) ++perChild[e.child];  // from the first tick up to the third
    }
    std::map<LONG, int> expected;
    for (int n = 1; n <= 10; ++n) expected[TimeChild(n)] = 2;  // each time caption, once a second
    EXPECT_EQ(perChild, expected);
}

}  // namespace
}  // namespace qv::release
