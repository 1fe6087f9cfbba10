#pragma once

#include <QString>

// The lesson shown under the indicators: 34 lines, each ended by CR LF.
QString explanatoryText();
