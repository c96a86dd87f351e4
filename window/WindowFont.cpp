#include "window/WindowFont.h"

QFont windowFont(bool chinese)
{
    if (!chinese) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(12);
        return font;
    }
    // The forms are designed in SimSun 12 px. Where SimSun is missing (Linux) fontconfig would hand
    // "宋体" a Latin face and the captions would depend on per-glyph fallback; name the CJK faces we
    // know so Qt picks one that is installed (scripts/deps.sh installs WenQuanYi Zen Hei).
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("宋体"),
                                   {QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                                    QStringLiteral("WenQuanYi Zen Hei"),
                                    QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                                    QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                                    QStringLiteral("Droid Sans Fallback")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    return font;
}
