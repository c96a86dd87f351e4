#include "window/PageTabs.h"

#include <QScrollArea>
#include <QScrollBar>

namespace {
// A page taller than the window scrolls instead of stretching the window past its designed height.
// QScrollArea asks for at most 36 lines of width, which would let the console take half the window
// and cut every page off at the right; ask for the page's own width instead.
class PageScrollArea final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        QSize hint = QScrollArea::sizeHint();
        if (widget() != nullptr)
            hint.setWidth(widget()->sizeHint().width() + verticalScrollBar()->sizeHint().width() +
                          2 * frameWidth());
        return hint;
    }
};
} // namespace

PageTabs::PageTabs(QWidget *parent) : QTabWidget(parent) {}

void PageTabs::buildOnSelect()
{
    if (buildOnSelect_)
        return;
    buildOnSelect_ = true;
    if (currentIndex() >= 0)
        page(currentIndex());
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0)
            page(index);
    });
}

int PageTabs::addPage(const QString &objectName, Builder build)
{
    auto *scroll = new PageScrollArea(this);
    scroll->setObjectName(objectName + QLatin1String("Scroll"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    entries_.push_back({objectName, std::move(build), nullptr});
    return addTab(scroll, QString());
}

QWidget *PageTabs::page(int index)
{
    Entry &entry = entries_.at(static_cast<size_t>(index));
    if (entry.page != nullptr || entry.building)
        return entry.page;
    auto *scroll = static_cast<QScrollArea *>(widget(index));
    entry.building = true;
    QWidget *page = entry.build(scroll);
    entry.building = false;
    page->setObjectName(entry.name);
    page->setEnabled(pagesEnabled_);
    entry.page = page;
    scroll->setWidget(page);
    page->setAccessibleName(scroll->accessibleName()); // the page is named by its tab, as its scroll area
    Q_EMIT pageBuilt(index, page);
    return page;
}

bool PageTabs::isBuilt(int index) const
{
    return entries_.at(static_cast<size_t>(index)).page != nullptr;
}

void PageTabs::buildAll()
{
    for (int i = 0; i < count(); ++i)
        page(i);
}

void PageTabs::setPagesEnabled(bool enabled)
{
    pagesEnabled_ = enabled;
    for (const Entry &entry : entries_) {
        if (entry.page != nullptr)
            entry.page->setEnabled(enabled);
    }
}
