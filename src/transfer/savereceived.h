// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

struct Form1Context;

// "Save &Received File": the receive pane's text into a text file.
class SaveReceived : public QObject {
    Q_OBJECT
public:
    static const QString kFilter;   // "txt Files (*.txt)|*.txt"

    explicit SaveReceived(Form1Context& ctx, QObject* parent = nullptr);

    void save_received_Click();

private:
    void reportFailure(const QString& description, const QString& path);

    Form1Context& m_ctx;
    QString m_fileName;   // the dialog keeps the last name chosen
};
