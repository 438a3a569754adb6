#pragma once

#include "design_file.h"

#include <functional>
#include <optional>

class QWidget;

// "项目信息...": a modal dialog of the project block (工程名称, 设计, 校对, 审核, 日期),
// pre-filled; the block as typed, or nothing when the user cancels.
std::optional<design::Project> askProject(QWidget *parent, const design::Project &current);

// While a handler is set, askProject passes it the block as it stands and returns its
// answer at once; an empty function restores the real dialog.
void setProjectDialogHandler(std::function<std::optional<design::Project>(const design::Project &)> handler);
