// SPDX-License-Identifier: GPL-3.0-or-later
#include "workerthread.h"

#include <QThread>

namespace WorkerThread {

QThread* start(const QString& name, std::function<void()> run)
{
    QThread* thread = QThread::create(std::move(run));
    thread->setObjectName(name);
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return thread;
}

void release(QThread* thread, int waitMs)
{
    // Ended: deleted now, which takes back its deleteLater too.
    if (thread->wait(waitMs))
        delete thread;
}

}   // namespace WorkerThread
