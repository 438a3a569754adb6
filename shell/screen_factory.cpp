#include "screen_factory.h"

#include "information_screens.h"
#include "login_screen.h"
#include "main_menu_screen.h"

#include "flow_budget/allowable_drop_screen.h"
#include "flow_budget/laminar_check_screen.h"
#include "flow_budget/non_uniformity_flow_screen.h"
#include "flow_budget/simultaneity_flow_screen.h"
#include "high_pressure/high_pressure_section_screen.h"
#include "indoor_strength/additional_head_screen.h"
#include "indoor_strength/indoor_local_loss_screen.h"
#include "indoor_strength/wall_thickness_screen.h"
#include "low_pressure/low_pressure_section_screen.h"
#include "network/network_screen.h"
#include "route/route_screen.h"

#include <array>

namespace {

template<typename T>
Screen *make()
{
    return new T;
}

struct ScreenKind
{
    const char *code;
    Screen *(*create)();
};

constexpr std::array kScreens{
    ScreenKind{"hy", make<LoginScreen>},
    ScreenKind{"xz", make<MainMenuScreen>},
    ScreenKind{"xd", make<LowPressureSectionScreen>},
    ScreenKind{"gyxd", make<HighPressureSectionScreen>},
    ScreenKind{"fxgj", make<LaminarCheckScreen>},
    ScreenKind{"ll", make<NonUniformityFlowScreen>},
    ScreenKind{"lll", make<SimultaneityFlowScreen>},
    ScreenKind{"yl", make<AllowableDropScreen>},
    ScreenKind{"yt", make<AdditionalHeadScreen>},
    ScreenKind{"jb", make<IndoorLocalLossScreen>},
    ScreenKind{"bh", make<WallThicknessScreen>},
    ScreenKind{"gw", make<RouteScreen>},
    ScreenKind{"gwjs", make<NetworkScreen>},
    ScreenKind{"gy", make<AboutScreen>},
    ScreenKind{"cs", make<ForewordScreen>},
};

} // namespace

Screen *createScreen(const QString &code)
{
    for (const ScreenKind &kind : kScreens) {
        if (code == QLatin1String(kind.code))
            return kind.create();
    }
    return nullptr;
}
