// SPDX-License-Identifier: GPL-3.0-or-later
#include "operator.h"

#include <QApplication>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

char* toString(const MessageBox& box)
{
    const QString text =
        QStringLiteral("\"%1\" titled \"%2\", buttons %3, icon %4, default %5, detail \"%6\"")
            .arg(box.prompt, box.title)
            .arg(int(box.buttons))
            .arg(int(box.icon))
            .arg(int(box.defaultButton))
            .arg(box.detail);
    return qstrdup(text.toUtf8().constData());
}

MessageBox okBox(const QString& prompt, const QString& title, MessageBox::Icon icon)
{
    MessageBox box;
    box.prompt = prompt;
    box.title = title;
    box.icon = icon;
    return box;
}

MessageBox guardBox()
{
    return okBox(QStringLiteral("The comm port is closed"), QStringLiteral("Disconnect"));
}

QWidget* focus()
{
    return QApplication::focusWidget();
}

QString focusName()
{
    return focus() ? focus()->objectName() : QString();
}

void click(QWidget* control)
{
    QTest::mouseClick(control, Qt::LeftButton);
}

void clickInto(QWidget* field)
{
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(3, field->height() / 2));
}

void clickAndType(QWidget* field, const QString& keys)
{
    clickInto(field);
    QTest::keyClicks(focus(), keys);
}

void type(QWidget* field, const QString& keys)
{
    field->setFocus();
    QTest::keyClicks(field, keys);
}

void typeText(QWidget* field, const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        const int length = text.at(i).isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

void typeAndEnter(QWidget* field, const QString& keys)
{
    type(field, keys);
    pressEnter(field);
}

void pressEnter(QWidget* control)
{
    QTest::keyClick(control, Qt::Key_Return);
}

// A key event as the window system delivers it, at a given moment, to the
// control of the window that has the focus then.
static void deliverKey(QWidget* control, QEvent::Type type, quint64 time, bool flaggedRepeat = false)
{
    QWidget* focused = control->window()->focusWidget();
    QWidget* receiver = focused ? focused : control;
    QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), flaggedRepeat);
    key.setTimestamp(time);
    QSpontaneKeyEvent::setSpontaneous(&key);
    QApplication::sendEvent(receiver, &key);
}

// On X the repeats come flagged, or as a plain release and a plain press at
// the same moment, as Qt leaves them when the press is not yet queued.
void holdEnter(QWidget* control)
{
    quint64 time = 5000;
    control->setFocus();
    deliverKey(control, QEvent::KeyPress, time);
    for (int repeat = 0; repeat < 3; ++repeat) {
        time += 33;
        deliverKey(control, QEvent::KeyRelease, time, true);
        deliverKey(control, QEvent::KeyPress, time, true);
        time += 33;
        deliverKey(control, QEvent::KeyRelease, time);
        deliverKey(control, QEvent::KeyPress, time + 1);
    }
    deliverKey(control, QEvent::KeyRelease, time + 40);
}

void switchAwayAndBack(QWidget* window)
{
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void setOff(QWidget* target, Trigger how)
{
    if (how == Trigger::Click) {
        click(target);
        return;
    }
    target->setFocus();
    if (how == Trigger::Enter)
        QTest::keyClick(target, Qt::Key_Return);
    else
        QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
}
