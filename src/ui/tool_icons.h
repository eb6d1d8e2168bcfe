#pragma once

#include "core/model/editor_state.h"

#include <QIcon>

namespace tessra {

inline constexpr int ToolIconSize = 32;

// The picture of a tool button, drawn by the program: a pencil, a paint
// bucket, a rubber stamp, an eraser and a dashed selection.
QIcon ToolIcon(Tool tool);

} // namespace tessra
