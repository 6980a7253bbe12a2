#pragma once
#include <QApplication>

// The program's application object: no exception leaves an event handler. An
// end of the program ends it; anything else is reported once here and the
// program goes on with its data as they are.
class RnApplication : public QApplication {
public:
    RnApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
