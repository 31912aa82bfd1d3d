// SPDX-License-Identifier: GPL-3.0-or-later
#include "pasteanddrop.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

void pasteInto(QLineEdit* field, const QString& text)
{
    auto* data = new QMimeData;   // the clipboard takes it
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
    field->paste();
}

void dropOnto(QWidget* control, const QString& text)
{
    QMimeData data;
    data.setText(text);
    const QPoint at(2, control->height() / 2);
    // A drop goes only to the control that accepted the drag's entry.
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &drop);
}
