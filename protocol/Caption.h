#pragma once

// A text of the system's own in both languages: the Chinese one as designed and the English one.

#include <QString>

struct Caption {
    QString cn;
    QString en;
    const QString &pick(bool english) const { return english ? en : cn; }
};
