#include "window/DeferredIconStyle.h"

#include <QIconEngine>
#include <QPainter>

namespace {
// Asks the style for the icon the first time it is needed; the application's style outlives every
// widget that shows it.
class DeferredIconEngine final : public QIconEngine {
public:
    DeferredIconEngine(const QStyle *style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QIconEngine *clone() const override { return new DeferredIconEngine(style_, which_); }

private:
    const QIcon &icon()
    {
        if (icon_.isNull())
            icon_ = style_->standardIcon(which_);
        return icon_;
    }

    const QStyle *style_;
    const QStyle::StandardPixmap which_;
    QIcon icon_;
};
} // namespace

QIcon DeferredIconStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                                      const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton)
        return QIcon(new DeferredIconEngine(baseStyle(), icon));
    return QProxyStyle::standardIcon(icon, option, widget);
}
