#pragma once

// The headless main window that the window benchmarks share. It is made once, on first use: the
// offscreen platform is chosen before the application object exists, the working directory is a
// temporary one whose Config.ini points every COM number at a device that cannot exist and every
// address at loopback, and the UDP endpoint binds a port of the system's choosing. Modal boxes are
// answered by the seam ("No" to questions) and their texts kept for the current input.

#include <QStringList>

class MainWindow;

MainWindow &benchWindow();
// The texts of the boxes shown since the last call of benchBoxesClear().
const QStringList &benchBoxes();
void benchBoxesClear();
// Empties what the parser only ever appends to (console, list memo), so runs stay small and alike.
void benchWindowTidy(MainWindow &form);
