// The Windows window driven in-process through its real window messages, as
// the mouse, the keyboard and the dialog manager deliver them: the twenty
// rows at once, hand changes undone by the timer, no repaint while idle,
// tab order, fonts, geometry at two dpi settings and screen-reader names.
#include "expected_form.h"
#include "main_form.h"
#include "wide_text.h"

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

// Generous: the refresh comes every 100 ms, but a loaded machine may be slow.
constexpr DWORD RestoreTimeout = 2000;

// Runs the window's messages as its own loop does, for `milliseconds`.
void pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                continue; // a form of an earlier test was closed
            const HWND top = GetAncestor(message.hwnd, GA_ROOT);
            if (!top || !IsDialogMessageW(top, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (GetTickCount() - start < milliseconds)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

template <typename Condition> bool pumpUntil(Condition condition, DWORD timeout)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeout)
            return false;
        pump(10);
    }
    return true;
}

// "010" for the three check boxes, then the selected option button or -1.
struct Indicators {
    std::string checks;
    int option;
    bool operator==(const Indicators &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Indicators &shown)
{
    return out << shown.checks << " option " << shown.option;
}

const std::vector<expected::Row> &rows()
{
    return expected::form().rows;
}

Indicators expectedFor(int row)
{
    const expected::Row &want = row < 0 ? expected::form().cleared : rows().at(std::size_t(row));
    return {want.checks, want.option};
}

constexpr int NoOption = -1;

bool isChecked(HWND button)
{
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::wstring windowText(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

// A key pressed where the focus is, through the dialog manager as in the
// window's own loop; with `shift` held down.
void press(UINT key, bool shift = false)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        const HWND focus = GetFocus();
        MSG msg{focus,          message, key, LPARAM(message == WM_KEYUP ? 0xC0000001 : 1),
                GetTickCount(), {}};
        if (!IsDialogMessageW(GetAncestor(focus, GA_ROOT), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

// A left click at a point of a control, as the mouse delivers it.
void click(HWND control, POINT at)
{
    const LPARAM where = MAKELPARAM(at.x, at.y);
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(control, WM_LBUTTONUP, 0, where);
}

// Counts what a window is told to change or to draw, and the ticks that
// reach it. (Wine's buttons draw a new state at once, without WM_PAINT: the
// writes count too.)
struct MessageCounter {
    int changes = 0;
    int ticks = 0;

    static LRESULT CALLBACK count(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data)
    {
        auto *counter = reinterpret_cast<MessageCounter *>(data);
        switch (message) {
        case WM_PAINT:
        case WM_NCPAINT:
        case WM_ERASEBKGND:
        case BM_SETCHECK:
        case BM_SETSTATE:
        case WM_SETTEXT:
        case LB_SETCURSEL:
            ++counter->changes;
            break;
        case WM_TIMER:
            ++counter->ticks;
            break;
        }
        return DefSubclassProc(window, message, wParam, lParam);
    }
};

class Win32Form : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }

    void SetUp() override
    {
        form = std::make_unique<MainForm>(GetModuleHandleW(nullptr));
        ASSERT_TRUE(form->window());
        ShowWindow(form->window(), SW_SHOWNORMAL);
        SetForegroundWindow(form->window());
        pump(50);
    }

    void TearDown() override
    {
        form.reset();
        pump(0);
    }

    Indicators shown() const
    {
        Indicators state{"", NoOption};
        for (HWND box : form->Check1)
            state.checks += isChecked(box) ? '1' : '0';
        for (int j = 0; j < int(form->Option1.size()); ++j) {
            if (isChecked(form->Option1[j]))
                state.option = state.option == NoOption ? j : -2; // -2: more than one
        }
        return state;
    }

    int selectedRow() const { return int(SendMessageW(form->List1[0], LB_GETCURSEL, 0, 0)); }

    void clickRow(int row)
    {
        const HWND list = form->List1[0];
        SendMessageW(list, LB_SETTOPINDEX, WPARAM(row), 0); // scrolled into view
        RECT item;
        ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, WPARAM(row), LPARAM(&item)), LB_ERR);
        click(list, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    }

    // The form's control of that name in the expected form.
    HWND byName(const std::string &name) const
    {
        const auto index = [&name] {
            return std::size_t(name.back() - '0');
        };
        if (name == "Label1_0")
            return form->Label1;
        if (name.starts_with("Check1_"))
            return form->Check1.at(index());
        if (name.starts_with("Option1_"))
            return form->Option1.at(index());
        if (name.starts_with("List1_"))
            return form->List1.at(index());
        if (name == "Text1_0")
            return form->Text1;
        ADD_FAILURE() << "the form has no control " << name;
        return nullptr;
    }

    // Pixels of a control relative to the form's client area.
    RECT placeOf(HWND control) const
    {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(HWND_DESKTOP, form->window(), reinterpret_cast<POINT *>(&rect), 2);
        return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    }

    std::unique_ptr<MainForm> form;
};

TEST_F(Win32Form, OpensWithNothingSelectedAndStaysClear)
{
    EXPECT_EQ(selectedRow(), LB_ERR);
    EXPECT_EQ(shown(), expectedFor(-1));
    // Tick after tick.
    pump(350);
    EXPECT_EQ(shown(), expectedFor(-1));
}

TEST_F(Win32Form, ClickOnEveryRowShowsItsClassesAtOnce)
{
    ASSERT_EQ(SendMessageW(form->List1[0], LB_GETCOUNT, 0, 0), LRESULT(rows().size()));
    for (int row = 0; row < int(rows().size()); ++row) {
        SCOPED_TRACE(rows()[row].name);
        clickRow(row);
        // No message is pumped: the classes come with the click, not the tick.
        ASSERT_EQ(selectedRow(), row);
        const std::wstring name(
            std::size_t(SendMessageW(form->List1[0], LB_GETTEXTLEN, WPARAM(row), 0)), L'\0');
        SendMessageW(form->List1[0], LB_GETTEXT, WPARAM(row), LPARAM(name.data()));
        EXPECT_EQ(narrow(name), rows()[row].name);
        EXPECT_EQ(shown(), expectedFor(row));
    }
}

TEST_F(Win32Form, ArrowKeysThroughTheListShowEveryRowAtOnce)
{
    SetFocus(form->List1[0]);
    press(VK_HOME);
    for (int row = 0; row < int(rows().size()); ++row) {
        SCOPED_TRACE(rows()[row].name);
        if (row > 0)
            press(VK_DOWN);
        ASSERT_EQ(selectedRow(), row);
        EXPECT_EQ(shown(), expectedFor(row));
    }
}

TEST_F(Win32Form, TheTimerUndoesHandChanges)
{
    struct Case {
        const char *what;
        int row;
        bool checkBox;
        int index;
    };
    const Case cases[] = {
        {"a check box, nothing selected", -1, true, 0},
        {"a check box, Лизин", 0, true, 0},
        {"a check box off, Аргинин", 12, true, 2},
        {"an option button, nothing selected", -1, false, 1},
        {"another option button, Лизин", 0, false, 1},
    };
    for (const Case &hand : cases) {
        SCOPED_TRACE(hand.what);
        if (hand.row >= 0)
            clickRow(hand.row);
        else {
            SendMessageW(form->List1[0], LB_SETCURSEL, WPARAM(-1), 0); // as at the start
            ASSERT_TRUE(pumpUntil([&] { return shown() == expectedFor(-1); }, RestoreTimeout));
        }
        const HWND target = hand.checkBox ? form->Check1[hand.index] : form->Option1[hand.index];
        SendMessageW(target, BM_CLICK, 0, 0);
        ASSERT_NE(shown(), expectedFor(hand.row)) << "the click changed nothing";
        EXPECT_TRUE(pumpUntil([&] { return shown() == expectedFor(hand.row); }, RestoreTimeout))
            << "still " << shown();
    }
}

TEST_F(Win32Form, IdleTicksChangeAndRepaintNothing)
{
    clickRow(12);
    pump(300);
    MessageCounter counter;
    std::vector<HWND> windows{form->window()};
    for (HWND child = GetWindow(form->window(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        windows.push_back(child);
    for (HWND window : windows)
        SetWindowSubclass(window, MessageCounter::count, 1, DWORD_PTR(&counter));

    pump(1000);
    EXPECT_GE(counter.ticks, 5);
    EXPECT_EQ(counter.changes, 0);

    // The count sees changes: a hand change and its undoing.
    SendMessageW(form->Check1[0], BM_CLICK, 0, 0);
    pump(500);
    EXPECT_GE(counter.changes, 2);
    for (HWND window : windows)
        RemoveWindowSubclass(window, MessageCounter::count, 1);
}

TEST_F(Win32Form, FocusStartsInTheLessonAndFollowsTheTabOrder)
{
    ASSERT_EQ(GetFocus(), form->Text1);
    const auto tabs = [](int count, bool shift = false) {
        std::vector<HWND> visited;
        for (int step = 0; step < count; ++step) {
            press(VK_TAB, shift);
            visited.push_back(GetFocus());
        }
        return visited;
    };
    // The option buttons are one stop, as in any radio group: Tab enters the
    // group once and the arrow keys move within it.
    EXPECT_EQ(tabs(6), (std::vector<HWND>{form->Check1[0], form->Check1[1], form->Check1[2],
                                          form->List1[0], form->Option1[0], form->Text1}));
    EXPECT_EQ(tabs(1, true), std::vector<HWND>{form->Option1[0]});
    press(VK_DOWN);
    EXPECT_EQ(GetFocus(), form->Option1[1]);

    // The hidden code lists are never reached, nor shown.
    for (HWND visited : tabs(20, true)) {
        EXPECT_NE(visited, form->List1[1]);
        EXPECT_NE(visited, form->List1[2]);
    }
    for (int k = 1; k < 3; ++k) {
        EXPECT_FALSE(IsWindowVisible(form->List1[k]));
        EXPECT_FALSE(GetWindowLongW(form->List1[k], GWL_STYLE) & WS_TABSTOP);
    }
}

TEST_F(Win32Form, EveryControlHasTheFormsFace)
{
    const expected::Form &want = expected::form();
    const HDC screen = GetDC(nullptr);
    for (HWND control = GetWindow(form->window(), GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        SCOPED_TRACE(GetDlgCtrlID(control));
        const auto font = HFONT(SendMessageW(control, WM_GETFONT, 0, 0));
        ASSERT_TRUE(font);
        LOGFONTW face{};
        ASSERT_TRUE(GetObjectW(font, sizeof face, &face));
        EXPECT_EQ(narrow(face.lfFaceName), want.fontFamily);
        EXPECT_EQ(face.lfHeight, -MulDiv(want.fontPoints, form->dpi(), 72));
        EXPECT_EQ(face.lfWeight, want.fontWeight);
        EXPECT_EQ(face.lfCharSet, want.windowsCharacterSet);
        EXPECT_FALSE(face.lfItalic || face.lfUnderline || face.lfStrikeOut);

        // What is drawn: Times New Roman, or on Wine the serif with its
        // metrics that the prefix puts in its place.
        const HGDIOBJ before = SelectObject(screen, font);
        wchar_t drawn[LF_FACESIZE] = {};
        GetTextFaceW(screen, LF_FACESIZE, drawn);
        SelectObject(screen, before);
        EXPECT_TRUE(narrow(drawn) == want.fontFamily || std::wstring(drawn) == L"Liberation Serif")
            << narrow(drawn);
    }
    ReleaseDC(nullptr, screen);
}

TEST_F(Win32Form, GeometryInTwipsAtTwoDpiSettings)
{
    struct Place {
        int dpi;
        std::array<int, 2> client;
        std::vector<std::pair<std::string, expected::Rect>> controls;
    };
    const expected::Form &want = expected::form();
    std::vector<Place> places{{96, want.client, {}},
                              {144, want.clientAt144Dpi, want.rectsAt144Dpi}};
    for (const expected::Control &control : want.controls)
        places[0].controls.emplace_back(control.name, control.rect);
    ASSERT_EQ(form->dpi(), 96) << "the checks' Wine prefix runs at 96 dpi";
    for (const Place &place : places) {
        SCOPED_TRACE(place.dpi);
        if (place.dpi != form->dpi()) {
            // As Windows tells a window moved to a monitor of another dpi.
            RECT suggested{100, 100, 800, 700};
            SendMessageW(form->window(), WM_DPICHANGED, MAKEWPARAM(place.dpi, place.dpi),
                         LPARAM(&suggested));
        }
        RECT client;
        GetClientRect(form->window(), &client);
        EXPECT_EQ(client.right, place.client[0]);
        EXPECT_EQ(client.bottom, place.client[1]);
        for (const auto &[name, rect] : place.controls) {
            const RECT seen = placeOf(byName(name));
            EXPECT_EQ((expected::Rect{seen.left, seen.top, seen.right, seen.bottom}), rect) << name;
        }
        LOGFONTW face{};
        GetObjectW(HFONT(SendMessageW(form->Text1, WM_GETFONT, 0, 0)), sizeof face, &face);
        EXPECT_EQ(face.lfHeight, -MulDiv(want.fontPoints, place.dpi, 72));
    }
}

TEST_F(Win32Form, TitleCaptionsAndLessonArriveWhole)
{
    const expected::Form &want = expected::form();
    EXPECT_EQ(narrow(windowText(form->window())), want.title);
    for (const expected::Control &control : want.controls) {
        if (!control.text.empty()) {
            EXPECT_EQ(narrow(windowText(byName(control.name))), control.text) << control.name;
        }
    }
    const std::string lesson = narrow(windowText(form->Text1));
    EXPECT_EQ(lesson, want.lessonText());

    const LONG style = GetWindowLongW(form->window(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) << "the form is not resizable";
    EXPECT_TRUE(GetClassLongPtrW(form->window(), GCLP_HICON));
    EXPECT_TRUE(GetClassLongPtrW(form->window(), GCLP_HICONSM));
}

TEST_F(Win32Form, ScreenReadersGetNamesRolesAndStates)
{
    const int row = 9; // Аланин: non-essential, non-polar
    clickRow(row);
    const expected::Form &want = expected::form();
    const std::string &checks = want.rows[row].checks;
    const int option = want.rows[row].option;
    struct Case {
        HWND control;
        std::string name;
        long role;
        bool checked;
    };
    const Case cases[] = {
        {form->Check1[0], want.control("Check1_0").text, ROLE_SYSTEM_CHECKBUTTON, checks[0] == '1'},
        {form->List1[0], want.control("List1_0").accessibleName, ROLE_SYSTEM_LIST, false},
        {form->Text1, want.control("Text1_0").accessibleName, ROLE_SYSTEM_TEXT, false},
        {form->Option1[0], want.control("Option1_0").text, ROLE_SYSTEM_RADIOBUTTON, option == 0},
        {form->Option1[2], want.control("Option1_2").text, ROLE_SYSTEM_RADIOBUTTON, option == 2},
    };
    for (const Case &expected : cases) {
        SCOPED_TRACE(expected.name);
        IAccessible *accessible = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(expected.control, DWORD(OBJID_CLIENT), IID_IAccessible,
                                             reinterpret_cast<void **>(&accessible)),
                  S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT role{}, state{};
        EXPECT_EQ(accessible->get_accRole(self, &role), S_OK);
        if (role.lVal == ROLE_SYSTEM_CLIENT && expected.control == form->Check1[0]) {
            accessible->Release();
            GTEST_SKIP() << "this oleacc has no proxies for the standard controls (Wine's "
                            "has none): every control is a bare client area, without its "
                            "role, state or given name";
        }
        EXPECT_EQ(role.lVal, expected.role);
        BSTR name = nullptr;
        EXPECT_EQ(accessible->get_accName(self, &name), S_OK);
        EXPECT_EQ(name ? narrow(name) : std::string("(none)"), expected.name);
        SysFreeString(name);
        EXPECT_EQ(accessible->get_accState(self, &state), S_OK);
        EXPECT_EQ((state.lVal & STATE_SYSTEM_CHECKED) != 0, expected.checked);
        accessible->Release();
    }
}

} // namespace
