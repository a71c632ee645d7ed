#include "gui/command_guard.h"

#include "gui/cpu_state.h"
#include "gui/platform.h"

#include <exception>
#include <new>

namespace kalvo {

namespace {

void Tell(TPlatform* platform, const QString& text)
{
    if (platform)
        platform->MessageBox(TMsgKind::Error, text, TButtons::Ok);
}

} // namespace

bool RunCommand(TPlatform* platform, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::bad_alloc&) {
        Tell(platform, QStringLiteral("メモリが足りないため、処理を中止しました。"));
    } catch (const std::exception& failure) {
        // The core's errors already name the file and the cause.
        Tell(platform,
             QStringLiteral("処理を中止しました。\n") + QString::fromUtf8(failure.what()));
    } catch (...) {
        Tell(platform, QStringLiteral("予期しないエラーのため、処理を中止しました。"));
    }
    return false;
}

bool TGuardedApplication::notify(QObject* receiver, QEvent* event)
{
    ClearUpperVectorState(); // every handler starts at full speed
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        if (reporting_)
            return false;
        reporting_ = true;
        RunCommand(Platform, [&failure] { std::rethrow_exception(failure); });
        reporting_ = false;
        return false;
    }
}

} // namespace kalvo
