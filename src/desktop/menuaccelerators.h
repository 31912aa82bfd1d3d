// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyCombination>
#include <QObject>
#include <vector>

class QAction;
class QWidget;

// Keys that run menu items of a window before its focused control sees them,
// as menu accelerators do: Ctrl+C in a text field runs the menu's Copy, not
// the field's own. An unavailable item leaves its key doing nothing. Other
// windows keep their controls' own keys.
class MenuAccelerators : public QObject {
    Q_OBJECT
public:
    explicit MenuAccelerators(QWidget* window, QObject* parent = nullptr);

    void add(QKeyCombination key, QAction* item);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* itemFor(const QObject* receiver, const QEvent* event) const;

    QWidget* m_window;
    std::vector<std::pair<QKeyCombination, QAction*>> m_keys;
};
