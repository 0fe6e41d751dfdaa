#pragma once

#include <QIcon>

// The program's icon, drawn rather than shipped: a pale crescent moon on a night-blue tile.
QIcon MakeAppIcon();
