#pragma once

#include "indicator_update.h"

namespace amino {

// The form's handlers, the same in every face. A face's form derives from
// FormHandlers<itself> and gives indicators(): its indicator operations over
// its own controls, a new object or one kept for good. Nothing here is
// virtual, so a face compiles only the handlers it calls.
template <typename Form> class FormHandlers {
public:
    // Shows the classification of the selected row on the seven indicators.
    void ShowSelection()
    {
        auto &&indicators = form().indicators();
        showSelectionOn(indicators);
    }

    // Clears all seven indicators.
    void ClearIndicators()
    {
        auto &&indicators = form().indicators();
        clearIndicatorsOn(indicators);
    }

    // A list reports a change of its selection; only the name list counts.
    void List1_Click(int index)
    {
        if (index == 0)
            ShowSelection();
    }

    void Timer1_Timer() { ShowSelection(); }

protected:
    FormHandlers() = default;
    ~FormHandlers() = default;

private:
    Form &form() { return static_cast<Form &>(*this); }
};

} // namespace amino
