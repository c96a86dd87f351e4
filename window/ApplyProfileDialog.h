#pragma once

// A profile beside the module: one table row per profile line with the parameter, the module's value
// where it is known, the profile's value, whether they differ and, once written, the outcome. Values
// the session does not know yet are read when the dialog opens: a read changes nothing on the module,
// and without them the table could not say what differs. In Apply mode nothing is written until the
// user presses "Write": then the rows that differ (or all, with "Write all") are written and read back.

#include "protocol/Profile.h"

#include <QDialog>

class CommandChannel;
class ParameterRun;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class ReadAllControl;
class MainWindow;
struct ParameterRow;

class ApplyProfileDialog final : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Apply, Compare };
    enum Column { ParameterColumn, ModuleColumn, ProfileColumn, DiffersColumn, OutcomeColumn, ColumnCount };

    ApplyProfileDialog(Mode mode, const Profile &profile, const QString &path, CommandChannel *channel,
                       ReadAllControl *memory, MainWindow *window);

    // Reads what the session does not know yet of the profile's parameters.
    void start();
    void write();
    bool isRunning() const;

protected:
    void reject() override;

private:
    // Tests find these by objectName, users by their accessible names.
    QTableWidget *table = nullptr;
    QLabel *statusLabel = nullptr;
    QProgressBar *progress = nullptr;
    QCheckBox *writeAllCheck = nullptr;
    QPushButton *writeButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QPushButton *closeButton = nullptr;

    enum class Phase { Reading, Ready, Writing, Done };

    void buildTable();
    void fitColumns();
    void showValues(int tableRow);
    void showOutcome(int runIndex);
    void stepStarted(int runIndex, bool writing);
    void runFinished(bool completed, const QString &reason);
    void readingFinished();
    void writingFinished(bool completed, const QString &reason);
    void setPhase(Phase phase);
    int tableRowOf(const ParameterRow *row) const;

    Mode mode_;
    Profile profile_;
    QString path_;
    MainWindow *window_;
    ReadAllControl *memory_;
    ParameterRun *run_;
    QList<const ParameterRow *> rows_; // the table's rows, in catalogue order as the run goes
    ModuleValues known_;
    QMap<QString, QString> notRead_; // by AT name: why the module's value is unknown
    Phase phase_ = Phase::Ready;
    bool cancelled_ = false;
};
