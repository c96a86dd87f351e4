#pragma once

// What the parameter pages' buttons do: set or read one catalogue row, or run one system operation.
// Read all and the profiles read rows the same way, whether the row's page was shown or not.

#include <QObject>

class MainWindow;
struct ParameterRow;
struct SystemOperation;

class ParameterActions final : public QObject {
    Q_OBJECT

public:
    explicit ParameterActions(MainWindow *window);

    void setParameter(const ParameterRow &row);
    bool readParameter(const ParameterRow &row); // true when the query left
    void runSystemOperation(const SystemOperation &operation);

private:
    MainWindow *window_;
};
