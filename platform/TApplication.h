// The application object: owns the toolkit, creates the forms, runs the event loop, and is the one
// place where an error that escapes a handler is caught and shown.
#pragma once

#include "Exception.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QApplication;
class TForm;
class TIdleWaiter;

class TApplication {
public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Creates a form of class F into reference; its creation handler has run when this returns.
    // The first form created becomes the main form.
    template <class F> void CreateForm(F*& reference) {
        auto form = std::make_unique<F>();
        reference = form.get();
        AdoptForm(std::move(form));
    }

    // Shows the main form and dispatches events, one at a time, until termination is requested
    // and the handler that was running has returned.
    void Run();

    // Dispatches every pending event, then shows the errors that painting queued meanwhile.
    void ProcessMessages();
    // Sleeps until an event arrives or the tick counter reaches tick.
    void WaitForEvents(std::uint32_t tick);

    void Terminate() { terminated = true; }
    bool Terminated() const { return terminated; }

    // Labels the error boxes; derived from the executable's file name.
    const std::string& Title() const { return title; }

    // Runs a handler as one event's dispatch: an error it raises is shown, then work goes on.
    void Dispatch(const std::function<void()>& handler);
    // How many handlers are running, each inside a pause of the one before.
    int DispatchDepth() const { return dispatchDepth; }
    // Every command started inside another's pause runs on the same stack. Far beyond any real
    // use, this bound keeps a held-down key from nesting commands until the stack overflows.
    static constexpr int MaxNestedHandlers = 256;
    // The default error display: a modal stop box with the title and the message.
    void ShowException(const Exception& error);
    // For errors raised inside a paint, where no modal box may open: shown right after that
    // dispatch round.
    void QueueException(const Exception& error);

    TForm* MainForm() const { return forms.empty() ? nullptr : forms.front().get(); }

private:
    void AdoptForm(std::unique_ptr<TForm> form);
    void ShowQueuedExceptions();

    std::unique_ptr<QApplication> qt;
    std::unique_ptr<TIdleWaiter> idleWaiter;
    std::vector<std::unique_ptr<TForm>> forms;
    std::vector<Exception> queuedErrors;
    std::string title;
    bool terminated = false;
    int dispatchDepth = 0;
};

extern TApplication* Application;
