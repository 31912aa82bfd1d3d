// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "loadend.h"
#include "monotonic.h"
#include "programrig.h"
#include "usagesnapshot.h"

#include "form/receivepane.h"

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

constexpr int kSteadyPollMs = 200;

// How long a received chunk waits to be seen: from the notification that
// brought it to the next paint of the pane's viewport.
class ShowDelays : public QObject {
public:
    explicit ShowDelays(QWidget* viewport) { viewport->installEventFilter(this); }

    void arrived()
    {
        if (m_waitingSince == 0)
            m_waitingSince = monotonicNs();
    }
    void report() const
    {
        std::vector<double> ms = m_delaysMs;
        std::sort(ms.begin(), ms.end());
        ::report("shown_chunks", double(ms.size()));
        ::report("shown_median_ms", ms.empty() ? 0 : ms[ms.size() / 2]);
        ::report("shown_max_ms", ms.empty() ? 0 : ms.back());
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_waitingSince != 0) {
            m_delaysMs.push_back(double(monotonicNs() - m_waitingSince) / 1e6);
            m_waitingSince = 0;
        }
        return false;
    }

private:
    long long m_waitingSince = 0;
    std::vector<double> m_delaysMs;
};

} // namespace

int runLineRate(const QString& device, const QString& capturePath)
{
    ProgramRig rig(device);
    if (!rig.readyToReceive(capturePath))
        return 1;

    const ReceivePane& pane = *rig.window().ui().Text1;
    const QString loadEnd = QLatin1String(kLoadEnd);
    ShowDelays delays(pane.viewport());
    QObject::connect(&rig.port(), &SerialPort::notified, &rig.window(), [&](int code) {
        if (code != SerialPort::kDataReceived)
            return;
        delays.arrived();
        if (!pane.text().endsWith(loadEnd))
            return;
        delays.report();
        QCoreApplication::quit();
    });
    // Ready once the text cursor has stopped blinking, as it does for an
    // operator who left the program alone.
    QTimer steady;
    QObject::connect(&steady, &QTimer::timeout, &rig.window(), [&steady] {
        if (QApplication::cursorFlashTime() != 0)
            return;
        steady.stop();
        report("ready", 1);
    });
    steady.start(kSteadyPollMs);
    return QApplication::exec();
}
