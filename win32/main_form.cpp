#include "main_form.h"

#include "accessible_names.h"
#include "amino_acid_table.h"
#include "dpi.h"
#include "form_geometry.h"
#include "form_strings.h"
#include "resource_ids.h"
#include "text_contrast.h"
#include "wide_text.h"

#include <commctrl.h>

namespace form = amino::form;

namespace {

constexpr wchar_t WindowClass[] = L"aminokiselini";
// Not resizable, with a minimise button.
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD WindowExStyle = 0;

// Control ids, clear of IDOK and IDCANCEL, which Enter and Escape send.
enum ControlId : int {
    HeadingId = 100,
    FirstCheckId = 110,
    FirstOptionId = 120,
    FirstListId = 130,
    TextId = 140,
};

COLORREF colourRef(const form::Colour &colour)
{
    return RGB(colour.red, colour.green, colour.blue);
}

form::Colour systemColour(int index)
{
    const COLORREF colour = GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

HWND makeControl(HWND parent, HINSTANCE instance, const wchar_t *kind, std::string_view text,
                 DWORD style, int id, DWORD exStyle = 0)
{
    return CreateWindowExW(exStyle, kind, widen(text).c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
}

// The lesson is read, not written: Tab and Enter stay the dialog manager's,
// and the focus arriving by Tab does not select the whole lesson.
LRESULT CALLBACK lessonBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR)
{
    if (message == WM_GETDLGCODE)
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    return DefSubclassProc(box, message, wParam, lParam);
}

void registerWindowClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, WindowClass, &windowClass))
        return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = WindowClass;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(AMINO_ICON), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                   GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(AMINO_ICON), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    RegisterClassExW(&windowClass);
}

} // namespace

MainForm::MainForm(HINSTANCE instance)
    : m_windowBrush(CreateSolidBrush(colourRef(form::WindowColour))),
      m_headingBrush(CreateSolidBrush(colourRef(form::HeadingColour))),
      m_checkBrush(CreateSolidBrush(colourRef(form::CheckColour))),
      m_optionBrush(CreateSolidBrush(colourRef(form::OptionColour)))
{
    registerWindowClass(instance, windowProc);
    // The window procedure is MainForm's from WM_NCCREATE on; see windowProc.
    CreateWindowExW(WindowExStyle, WindowClass, widen(form::windowTitle()).c_str(), WindowStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    if (!m_window)
        return;
    buildControls(instance);
    layOut(Dpi::of(m_window));
    centreOnMonitor();
    SetTimer(m_window, Timer1, form::TimerInterval, nullptr);
}

MainForm::~MainForm()
{
    if (m_window)
        DestroyWindow(m_window);
    for (HGDIOBJ object : {HGDIOBJ(m_font), HGDIOBJ(m_windowBrush), HGDIOBJ(m_headingBrush),
                           HGDIOBJ(m_checkBrush), HGDIOBJ(m_optionBrush)}) {
        if (object)
            DeleteObject(object);
    }
}

void MainForm::buildControls(HINSTANCE instance)
{
    const HWND parent = m_window;
    // Created in the order Tab visits them: the dialog manager follows the
    // order of the window's children. WS_GROUP starts a group that the arrow
    // keys move within; WS_TABSTOP makes a stop for Tab.
    Label1 = makeControl(parent, instance, WC_STATICW, form::Heading,
                         WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX, HeadingId);

    Text1 = makeControl(parent, instance, WC_EDITW, form::lessonText(),
                        WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | ES_MULTILINE |
                            ES_READONLY | ES_AUTOVSCROLL,
                        TextId, WS_EX_CLIENTEDGE);
    SetWindowSubclass(Text1, lessonBoxProc, 0, 0);

    for (int i = 0; i < amino::CheckBoxCount; ++i) {
        Check1[i] = makeControl(
            parent, instance, WC_BUTTONW, form::shownCaption(form::CheckCaptions[i]),
            WS_VISIBLE | WS_TABSTOP | (i == 0 ? WS_GROUP : 0) | BS_AUTOCHECKBOX, FirstCheckId + i);
    }

    List1[0] = makeControl(parent, instance, WC_LISTBOXW, {},
                           WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY |
                               LBS_NOINTEGRALHEIGHT,
                           FirstListId, WS_EX_CLIENTEDGE);

    // The option buttons are one group and one Tab stop, as in any dialog.
    for (int j = 0; j < amino::OptionButtonCount; ++j) {
        Option1[j] =
            makeControl(parent, instance, WC_BUTTONW, form::OptionCaptions[j],
                        WS_VISIBLE | (j == 0 ? WS_GROUP | WS_TABSTOP : 0) | BS_AUTORADIOBUTTON,
                        FirstOptionId + j);
    }

    // The code lists hold data only: never shown, never a Tab stop. Their
    // group ends the option buttons'.
    for (int k = 1; k < amino::AminoAcidTable::listCount; ++k) {
        List1[k] = makeControl(parent, instance, WC_LISTBOXW, {}, WS_GROUP | LBS_NOINTEGRALHEIGHT,
                               FirstListId + k);
    }

    for (int k = 0; k < amino::AminoAcidTable::listCount; ++k) {
        for (int row = 0; row < amino::AminoAcidTable::rowCount; ++row) {
            const std::wstring item = widen(amino::AminoAcidTable::item(k, row));
            SendMessageW(List1[k], LB_ADDSTRING, 0, LPARAM(item.c_str()));
        }
    }

    setAccessibleName(List1[0], form::ListAccessibleName);
    setAccessibleName(Text1, form::TextAccessibleName);

    m_handles = FormHandles{m_window, List1, Check1, Option1};
    m_focus = Text1;
    SetFocus(Text1);
}

void MainForm::layOut(int dpi)
{
    m_dpi = dpi;
    const auto place = [dpi](HWND control, const form::TwipsRect &twips) {
        const form::PixelRect rect = form::pixels(twips, dpi);
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(Label1, form::HeadingRect);
    for (int i = 0; i < amino::CheckBoxCount; ++i)
        place(Check1[i], form::CheckRects[i]);
    for (int j = 0; j < amino::OptionButtonCount; ++j)
        place(Option1[j], form::OptionRects[j]);
    for (int k = 0; k < amino::AminoAcidTable::listCount; ++k)
        place(List1[k], form::ListRects[k]);
    place(Text1, form::TextRect);

    // A point is 1/72 inch; a negative height asks for the character's
    // height rather than the cell's, as a point size means.
    const HFONT font =
        CreateFontW(-MulDiv(form::FontPoints, dpi, 72), 0, 0, 0, form::FontWeight, FALSE, FALSE,
                    FALSE, form::FontCharacterSet, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_ROMAN, widen(form::FontFamily).c_str());
    for (HWND control = GetWindow(m_window, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT))
        SendMessageW(control, WM_SETFONT, WPARAM(font), TRUE);
    if (m_font)
        DeleteObject(m_font);
    m_font = font;

    const int width = form::pixels(form::ClientWidth, dpi);
    const int height = form::pixels(form::ClientHeight, dpi);
    const RECT frame = Dpi::frameAround(width, height, WindowStyle, WindowExStyle, dpi);
    const auto resize = [this](int frameWidth, int frameHeight) {
        SetWindowPos(m_window, nullptr, 0, 0, frameWidth, frameHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    resize(frame.right - frame.left, frame.bottom - frame.top);
    // The frame drawn may differ from the one foretold (Windows 8.1 draws it
    // at the screen's dpi whatever the monitor's): the client area counts.
    RECT client;
    GetClientRect(m_window, &client);
    if (client.right != width || client.bottom != height) {
        resize(frame.right - frame.left + width - client.right,
               frame.bottom - frame.top + height - client.bottom);
    }
}

void MainForm::centreOnMonitor()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    RECT frame;
    GetWindowRect(m_window, &frame);
    const RECT &work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(m_window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH MainForm::controlColours(HDC dc, HWND control) const
{
    // The list and the lesson follow the desktop's scheme; read-only, the
    // lesson would otherwise take the grey of a disabled box.
    if (control == Text1 || control == List1[0]) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }

    // The captions sit on fixed light bands: the desktop's text colour where
    // it reads there, black where it would not (High Contrast, dark schemes).
    form::Colour band = form::OptionColour;
    HBRUSH brush = m_optionBrush;
    int textIndex = COLOR_BTNTEXT;
    if (control == Label1) {
        band = form::HeadingColour;
        brush = m_headingBrush;
        textIndex = COLOR_WINDOWTEXT;
    } else if (GetDlgCtrlID(control) < FirstOptionId) {
        band = form::CheckColour;
        brush = m_checkBrush;
    }
    SetTextColor(dc, colourRef(form::textOn(band, systemColour(textIndex))));
    SetBkColor(dc, colourRef(band));
    return brush;
}

LRESULT CALLBACK MainForm::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *form =
            static_cast<MainForm *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        form->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(form));
    }
    auto *form = reinterpret_cast<MainForm *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->m_window = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return form->handle(message, wParam, lParam);
}

LRESULT MainForm::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == LBN_SELCHANGE) {
            for (int index = 0; index < int(List1.size()); ++index) {
                if (HWND(lParam) == List1[index])
                    List1_Click(index);
            }
        }
        return 0;
    case WM_TIMER:
        if (wParam == Timer1)
            Timer1_Timer();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return LRESULT(controlColours(HDC(wParam), HWND(lParam)));
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(m_window, &client);
        FillRect(HDC(wParam), &client, m_windowBrush);
        return 1;
    }
    case WM_ACTIVATE:
        // As a dialog does: the focus leaves with the window and comes back
        // to the same control, rather than to the window itself.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(m_window, focus))
                m_focus = focus;
        } else if (m_focus) {
            SetFocus(m_focus);
        }
        return 0;
    case WM_SETFOCUS:
        if (m_focus)
            SetFocus(m_focus);
        return 0;
    case WM_DPICHANGED: {
        // Moved to a monitor with another dpi: the same inches there.
        const RECT &suggested = *reinterpret_cast<const RECT *>(lParam);
        layOut(HIWORD(wParam));
        SetWindowPos(m_window, nullptr, suggested.left, suggested.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(m_window, Timer1);
        clearAccessibleName(List1[0]);
        clearAccessibleName(Text1);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}
