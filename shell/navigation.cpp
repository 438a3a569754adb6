#include "navigation.h"

#include <array>

namespace {

using enum NavigationEffect;

constexpr std::array kNavigation{
    // The login button opens the main menu only after a successful check.
    NavigationRow{"hy", "Command1", "xz", Open, false},

    NavigationRow{"xz", "Command1", "jb", Open, false},
    NavigationRow{"xz", "室内局部压力计算", "jb", Open, false},
    NavigationRow{"xz", "Command2", "ll", Open, false},
    NavigationRow{"xz", "不均匀系数法", "ll", Open, false},
    NavigationRow{"xz", "Command3", "yl", Open, false},
    NavigationRow{"xz", "单位压降计算", "yl", Open, false},
    NavigationRow{"xz", "Command4", "fxgj", Open, false},
    NavigationRow{"xz", "校验低压层流管段管径", "fxgj", Open, false},
    NavigationRow{"xz", "Command5", "xd", Open, false},
    NavigationRow{"xz", "低压管段预选管径", "xd", Open, false},
    NavigationRow{"xz", "Command6", "gyxd", Open, false},
    NavigationRow{"xz", "中高压管段预选管径", "gyxd", Open, false},
    NavigationRow{"xz", "Command7", "lll", Open, false},
    NavigationRow{"xz", "同时工作系数法", "lll", Open, false},
    NavigationRow{"xz", "Command8", "yt", Open, false},
    NavigationRow{"xz", "附加压头", "yt", Open, false},
    NavigationRow{"xz", "Command9", "bh", Open, false},
    NavigationRow{"xz", "管网水力计算表", "gw", Open, false},
    NavigationRow{"xz", "管网计算", "gwjs", Open, false},
    NavigationRow{"xz", "关于", "gy", Open, false},
    NavigationRow{"xz", "退出", "", EndProgram, true},

    NavigationRow{"fxgj", "Command2", "xz", OpenHideFirst, true},
    NavigationRow{"fxgj", "低压管段水力计算", "xd", Open, false},
    NavigationRow{"fxgj", "中高压管段水力计算", "gyxd", Open, false},
    NavigationRow{"ll", "Command2", "xz", OpenHideFirst, true},
    NavigationRow{"ll", "同时工作系数法", "lll", Open, false},
    NavigationRow{"lll", "Command2", "xz", OpenHideFirst, true},
    NavigationRow{"lll", "不均匀系数法", "ll", Open, false},
    NavigationRow{"xd", "Command4", "xz", OpenHideFirst, true},
    NavigationRow{"xd", "中高压管段水力计算", "gyxd", Open, false},
    NavigationRow{"xd", "校验低压层流管段管径", "fxgj", Open, false},
    NavigationRow{"gyxd", "Command4", "xz", OpenHideFirst, true},
    NavigationRow{"gyxd", "低压管段水力计算", "xd", Open, false},
    NavigationRow{"gyxd", "校验低压层流管段管径", "fxgj", Open, false},
    NavigationRow{"xd", "管网水力计算表", "gw", Open, false},
    NavigationRow{"gyxd", "管网水力计算表", "gw", Open, false},
    NavigationRow{"gw", "Command4", "xz", OpenHideFirst, true},
    NavigationRow{"xd", "管网计算", "gwjs", Open, false},
    NavigationRow{"gyxd", "管网计算", "gwjs", Open, false},
    NavigationRow{"gwjs", "Command4", "xz", OpenHideFirst, true},
    NavigationRow{"yl", "Command2", "xz", Open, true},
    NavigationRow{"yt", "Command2", "xz", Open, true},
    NavigationRow{"jb", "Command2", "xz", Open, true},
    NavigationRow{"bh", "Command2", "xz", Open, true},
    NavigationRow{"gy", "Command1", "xz", Open, true},
    NavigationRow{"cs", "Command1", "hy", Open, true},
};

} // namespace

std::span<const NavigationRow> navigationTable()
{
    return kNavigation;
}
