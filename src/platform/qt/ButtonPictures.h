#pragma once

#include <QIcon>

namespace platform::qt {

// The pictures of the graphical buttons and the window icon, drawn for 16 x 16 and sharp at
// every device pixel ratio (each is painted anew at the size asked for).
QIcon backspacePicture();
QIcon sendResultPicture();
QIcon copyResultPicture();
QIcon copyExpressionAndResultPicture();
QIcon applicationIcon();

} // namespace platform::qt
