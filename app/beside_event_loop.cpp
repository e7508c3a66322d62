#include "app/beside_event_loop.h"

#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>

void RunBesideEventLoop(const std::function<void()>& work)
{
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    // Returns at once when the application is quitting; then the wait below
    // lets the work end.
    if (!thread->isFinished()) loop.exec();
    thread->wait();
    if (failure) std::rethrow_exception(failure);
}
