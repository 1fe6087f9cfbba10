#pragma once

// Makes screen readers see the window as a window and the hidden code lists
// as nothing at all. Safe to call more than once.
void installAccessibility();
