#pragma once

// Shared by the resource script and the code that loads what it holds.
#define AMINO_ICON 1
