#pragma once

// The page tabs. A page is made when its tab is first selected, or at once when something needs its
// controls before that (a reply that writes a field, Read all, a profile, a lookup by name): the
// window then maps with the first page only, and a first switch builds one page.

#include <QTabWidget>

#include <functional>
#include <vector>

class PageTabs final : public QTabWidget {
    Q_OBJECT

public:
    using Builder = std::function<QWidget *(QWidget *parent)>;

    explicit PageTabs(QWidget *parent = nullptr);

    // A tab whose page build makes; objectName names the page ("basicPage"), its scroll area gets
    // the name with "Scroll" appended.
    int addPage(const QString &objectName, Builder build);
    QWidget *page(int index); // built if it was not; null while it is being built
    bool isBuilt(int index) const;
    // From now on the page in view and each page selected are built; before, only a need builds one.
    void buildOnSelect();
    void buildAll();
    // Pages built later take the state their siblings have.
    void setPagesEnabled(bool enabled);

Q_SIGNALS:
    void pageBuilt(int index, QWidget *page);

private:
    struct Entry {
        QString name;
        Builder build;
        QWidget *page = nullptr;
        bool building = false;
    };
    std::vector<Entry> entries_;
    bool pagesEnabled_ = true;
    bool buildOnSelect_ = false;
};
