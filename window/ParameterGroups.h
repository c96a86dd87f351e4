#pragma once

// The group boxes of catalogue rows that the two parameter pages are made of: each row's fields with
// their labels, and its read and set buttons.

#include "protocol/ParameterCatalogue.h"

class CaptionBook;
class MainWindow;
class QGroupBox;
class QWidget;
class ShownText;

// The group of the catalogue rows of which, titled and named as designed; its fields are registered
// with the window and its buttons wired to the window's parameter actions.
QGroupBox *buildParameterGroup(ParameterGroup which, QWidget *page, CaptionBook &captions,
                               MainWindow *window);
// An empty group box with its title.
QGroupBox *buildGroupBox(QWidget *page, const char *objectName, const ShownText &title,
                         CaptionBook &captions);
