#pragma once

// The window's font: the designed "宋体" 12 px for Chinese, Arial 12 px otherwise.

#include <QFont>
#include <QStringList>

QFont windowFont(bool chinese);
