#pragma once

// The window's side of a received text: its meaning is worked out without the window
// (protocol/ReplyInterpreter); here it reaches the fields, the IO rows, the console, the status bar
// and the boxes. A page not built yet is built when a reply writes to it.

#include <QObject>

class MainWindow;
class QComboBox;
struct ReplyEffects;
enum class ReplyRoad;

class ReplyApplier final : public QObject {
    Q_OBJECT

public:
    explicit ReplyApplier(MainWindow *window);

    // Reads the text by the state the last commands left and applies what it changes. A value that does
    // not convert ends the handling there: on the serial road with the general error box.
    void parse(const QByteArray &text, ReplyRoad road);
    void apply(const ReplyEffects &effects);

    static int indexOfItem(const QComboBox *box, const QString &text); // the item count when none is equal
    static void selectItemByText(QComboBox *box, const QString &text); // none equal: the selection stays
    static void selectIndex(QComboBox *box, qint64 index);             // outside the list: no selection

Q_SIGNALS:
    // Announced before the effects are applied: a box among them waits for the user, and a command
    // run waiting for this reply must not count that time against its time-out.
    void replyArrived(const QByteArray &reply);

private:
    MainWindow *window_;
};
