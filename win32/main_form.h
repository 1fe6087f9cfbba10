#pragma once

#include "form_handlers.h"
#include "handle_indicators.h"

#include <windows.h>

#include <array>

// The program's one window, on Windows' own controls: a heading, three check
// boxes for the nutritional class, four option buttons for the residue class,
// the list of amino acids (with two hidden lists holding their codes) and the
// lesson text. A timer keeps the indicators in step with the list's
// selection: its ticks and the lists' clicks go to the handlers of
// FormHandlers. Laid out in twips, so it keeps its size in inches on any
// screen.
class MainForm : public amino::FormHandlers<MainForm> {
public:
    // Builds the window hidden, laid out for the dpi of the monitor it opens
    // on and centred there, with the focus in the lesson text.
    explicit MainForm(HINSTANCE instance);
    ~MainForm();
    MainForm(const MainForm &) = delete;
    MainForm &operator=(const MainForm &) = delete;

    HWND window() const { return m_window; }
    // The dpi the form is laid out for.
    int dpi() const { return m_dpi; }

    HWND Label1 = nullptr;
    std::array<HWND, amino::CheckBoxCount> Check1{};
    std::array<HWND, amino::OptionButtonCount> Option1{};
    std::array<HWND, 3> List1{};
    HWND Text1 = nullptr;
    static constexpr UINT_PTR Timer1 = 1;

private:
    friend class amino::FormHandlers<MainForm>;
    HandleIndicators indicators() const { return HandleIndicators(m_handles); }

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void buildControls(HINSTANCE instance);
    // Every control, the font and the window's size, for `dpi`.
    void layOut(int dpi);
    void centreOnMonitor();
    HBRUSH controlColours(HDC dc, HWND control) const;

    HWND m_window = nullptr;
    int m_dpi = 0;
    HFONT m_font = nullptr;
    // The focused control, given back when the window is activated again.
    HWND m_focus = nullptr;
    FormHandles m_handles{};
    HBRUSH m_windowBrush;
    HBRUSH m_headingBrush;
    HBRUSH m_checkBrush;
    HBRUSH m_optionBrush;
};
