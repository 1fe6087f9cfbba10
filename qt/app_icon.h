#pragma once

#include <QIcon>

// The hamburger icon of the window and the application, in every size drawn.
QIcon appIcon();
