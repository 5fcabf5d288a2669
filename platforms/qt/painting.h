#pragma once

#include "runtime/presentation/display_list.h"

#include <QPainter>

#include <vector>

namespace rtqt {

class Pictures;

// Executes a form's display list on the window, in order: the list decided every place and
// size, this only turns each command into Qt's drawing.
void paintCommands(QPainter& painter, const std::vector<rt::draw::Command>& commands,
                   Pictures& pictures);

} // namespace rtqt
