#pragma once

#include <QApplication>
#include <functional>

namespace kalvo {

class TPlatform;

// Runs command, one of the program's commands (a menu item, a button, a dropped file).
// Whatever escapes it (running out of memory, a failed conversion, anything else) is shown in
// an error message box and goes no further: the program carries on, and the documents keep
// what the command had done before it failed. platform may be null (nothing is shown then).
// Returns false when something escaped.
bool RunCommand(TPlatform* platform, const std::function<void()>& command);

// The desktop program's application object. Commands catch what escapes them through
// RunCommand; an exception that escapes some other event handler (a paint, a timer) is caught
// here, the last place before it would end the program, and reported the same way. While one
// such report is on screen, further ones are dropped: a failing paint would otherwise stack up
// message boxes as each box repaints the window behind it.
class TGuardedApplication : public QApplication
{
public:
    using QApplication::QApplication;

    TPlatform* Platform = nullptr; // set once the platform exists

    bool notify(QObject* receiver, QEvent* event) override;

private:
    bool reporting_ = false;
};

} // namespace kalvo
