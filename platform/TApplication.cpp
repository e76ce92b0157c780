#include "TApplication.h"

#include "ApplicationTitle.h"
#include "ErrorBox.h"
#include "IdleWaiter.h"
#include "TForm.h"
#include "TickCounter.h"

#include <QApplication>
#include <QEventLoop>

#include <cassert>

TApplication* Application = nullptr;

namespace {

// The program takes no arguments, so Qt must not see any either (no -platform, -style, ...).
int qtArgc = 1;
char qtProgramName[] = "quendravo";
char* qtArgv[] = {qtProgramName, nullptr};

} // namespace

TApplication::TApplication() : qt(std::make_unique<QApplication>(qtArgc, qtArgv)) {
    assert(!Application);
    Application = this;
    // Closing the window only asks us to terminate; the loop below decides when to stop.
    QApplication::setQuitOnLastWindowClosed(false);
    idleWaiter = std::make_unique<TIdleWaiter>();
    title = ApplicationTitle(QCoreApplication::applicationFilePath().toStdString());
}

TApplication::~TApplication() {
    forms.clear();
    idleWaiter.reset();
    Application = nullptr;
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) {
    TForm* created = form.get();
    forms.push_back(std::move(form));
    Dispatch([created] { created->DoCreate(); });
}

void TApplication::Run() {
    if (TForm* main = MainForm())
        main->Show();
    while (!terminated) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        ShowQueuedExceptions();
    }
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ShowQueuedExceptions();
}

void TApplication::WaitForEvents(std::uint32_t tick) {
    if (!TickSourceReplaced())
        idleWaiter->WaitForEvents(tick);
    ShowQueuedExceptions();
}

void TApplication::Dispatch(const std::function<void()>& handler) {
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } nested(dispatchDepth);
    try {
        handler();
    } catch (const Exception& error) {
        ShowException(error);
    } catch (const std::exception& error) {
        ShowException(Exception(error.what()));
    }
}

void TApplication::ShowException(const Exception& error) {
    ShowErrorBox(title, ErrorBoxText(error.Message()));
}

void TApplication::QueueException(const Exception& error) {
    queuedErrors.push_back(error);
}

void TApplication::ShowQueuedExceptions() {
    // A box shown here dispatches events itself, which may queue further errors.
    while (!queuedErrors.empty()) {
        const Exception error = queuedErrors.front();
        queuedErrors.erase(queuedErrors.begin());
        ShowException(error);
    }
}
