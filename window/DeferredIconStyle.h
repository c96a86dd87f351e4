#pragma once

// The application's style with one difference: the menu bar's extension arrow, which shows only when
// the menus do not fit, is read from its file when it is first drawn. Read at once, as every menu bar
// does when it is made, the file makes Qt load each image-format plugin to recognise a PNG it reads
// itself.

#include <QProxyStyle>

class DeferredIconStyle final : public QProxyStyle {
public:
    explicit DeferredIconStyle(QStyle *base) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
