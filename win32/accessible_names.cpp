#include "accessible_names.h"

#include "wide_text.h"

#include <initguid.h>
#include <oleacc.h>

namespace {

// Dynamic annotation: oleacc answers for the control with the given name,
// whatever its own proxy would have made of it.
template <typename Action> void withPropServices(Action action)
{
    IAccPropServices *services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void **>(&services))))
        return;
    action(*services);
    services->Release();
}

} // namespace

void setAccessibleName(HWND control, std::string_view name)
{
    const std::wstring text = widen(name);
    withPropServices([&](IAccPropServices &services) {
        services.SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                                text.c_str());
    });
}

void clearAccessibleName(HWND control)
{
    MSAAPROPID name = PROPID_ACC_NAME;
    withPropServices([&](IAccPropServices &services) {
        services.ClearHwndProps(control, DWORD(OBJID_CLIENT), CHILDID_SELF, &name, 1);
    });
}
