// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "loadend.h"
#include "monotonic.h"
#include "programrig.h"
#include "usagesnapshot.h"

#include "form/receivepane.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTextDocument>
#include <QTextStream>
#include <QTimer>
#include <utility>
#include <vector>

namespace {

constexpr int kSteadyPollMs = 200;

// When the pane showed how much: at each paint of its viewport, the time and
// the characters received since the start. The driver, which knows when it
// wrote each byte, works out from it how long every byte took to be seen.
class PaintLog : public QObject {
public:
    PaintLog(const ReceivePane& pane, QString path) : m_pane(pane), m_path(std::move(path))
    {
        pane.viewport()->installEventFilter(this);
    }

    void start() { m_base = m_pane.length(); }
    void write() const
    {
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        QTextStream out(&file);
        for (const auto& [ns, shown] : m_paints)
            out << ns << ' ' << shown << '\n';
        ::report("paints", double(m_paints.size()));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_base >= 0)
            m_paints.emplace_back(monotonicNs(), m_pane.length() - m_base);
        return false;
    }

private:
    const ReceivePane& m_pane;
    QString m_path;
    int m_base = -1;
    std::vector<std::pair<long long, int>> m_paints;
};

}   // namespace

int runLineRate(const QString& device, const QString& paintLogPath, const QString& capturePath)
{
    ProgramRig rig(device);
    if (!rig.readyToReceive(capturePath))
        return 1;

    const ReceivePane& pane = *rig.window().ui().Text1;
    const QString loadEnd = QLatin1String(kLoadEnd);
    PaintLog paints(pane, paintLogPath);
    // Looked at once each change of the pane is done: held text goes in at
    // the end of a frame, without a notification of its own.
    QObject::connect(
        pane.document(), &QTextDocument::contentsChanged, &rig.window(),
        [&] {
            if (!pane.text().endsWith(loadEnd))
                return;
            paints.write();
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);
    // Ready once the text cursor has stopped blinking, as it does for an
    // operator who left the program alone.
    QTimer steady;
    QObject::connect(&steady, &QTimer::timeout, &rig.window(), [&] {
        if (QApplication::cursorFlashTime() != 0)
            return;
        steady.stop();
        paints.start();
        report("ready", 1);
    });
    steady.start(kSteadyPollMs);
    return QApplication::exec();
}
