// SPDX-License-Identifier: GPL-3.0-or-later
#include "teamdialog.h"

#include "desktop/tabchain.h"
#include "form/form1context.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const char* objectName, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(objectName));
    return b;
}

const QString kNote = QStringLiteral(
    "The PostgreSQL connection URI in libpq's form: postgresql://user@host:5432/velno?sslmode=verify-full, "
    "or a Unix socket through ?host=/path.\nPasswords are not part of the URI: libpq takes them from "
    "~/.pgpass (or PGPASSWORD, PGSERVICE), as every PostgreSQL tool does.");

}   // namespace

TeamDialog::TeamDialog(Form1Context& ctx, Store& local, QWidget* parent)
    : QDialog(parent), m_join(ctx.settings, ctx.platform.prompter, local)
{
    build();
    uri->setText(m_join.team());
    showTeam();
    connect(&m_join, &TeamJoin::progress, this, [this](const QString& text) {
        status->setText(text);
        enableButtons();
    });
    connect(&m_join, &TeamJoin::done, this, &TeamDialog::showOutcome);
    connect(&m_join, &TeamJoin::teamChanged, this, &TeamDialog::enableButtons);
}

void TeamDialog::build()
{
    setObjectName(QStringLiteral("teamDialog"));
    setWindowTitle(TeamJoin::kTitle);
    auto* label = new QLabel(QStringLiteral("Team database &URI:"), this);
    uri = new QLineEdit(this);
    uri->setObjectName(QStringLiteral("teamUri"));
    uri->setPlaceholderText(QStringLiteral("postgresql://user@host:5432/velno?sslmode=verify-full"));
    uri->setMinimumWidth(480);
    label->setBuddy(uri);
    note = new QLabel(kNote, this);
    note->setObjectName(QStringLiteral("teamNote"));
    note->setWordWrap(true);
    status = new QLabel(this);
    status->setObjectName(QStringLiteral("teamStatus"));
    status->setWordWrap(true);
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    testButton = button("teamTest", QStringLiteral("&Test"), this);
    joinButton = button("teamJoin", QStringLiteral("&Join"), this);
    leaveButton = button("teamLeave", QStringLiteral("&Leave team"), this);
    closeButton = button("teamClose", QStringLiteral("&Close"), this);
    connect(testButton, &QPushButton::clicked, this, &TeamDialog::test);
    connect(joinButton, &QPushButton::clicked, this, &TeamDialog::join);
    connect(leaveButton, &QPushButton::clicked, this, &TeamDialog::leave);
    connect(closeButton, &QPushButton::clicked, this, &TeamDialog::reject);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {testButton, joinButton, leaveButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(label);
    column->addWidget(uri);
    column->addWidget(note);
    column->addWidget(status);
    column->addStretch(1);
    column->addLayout(buttons);
    setTabChain({uri, testButton, joinButton, leaveButton, closeButton});
}

void TeamDialog::test()
{
    m_join.test(uri->text());
    enableButtons();
}

void TeamDialog::join()
{
    m_join.join(uri->text());
    enableButtons();
}

void TeamDialog::leave()
{
    m_join.leave();
    showTeam();
}

void TeamDialog::showTeam()
{
    const QString team = m_join.team();
    status->setText(team.isEmpty() ? QStringLiteral("This computer works alone.")
                                   : QStringLiteral("This computer is in the team of %1.").arg(team));
    enableButtons();
}

void TeamDialog::showOutcome(bool, const QString& text)
{
    status->setText(text);
    enableButtons();
}

void TeamDialog::enableButtons()
{
    const bool idle = !m_join.busy();
    testButton->setEnabled(idle);
    joinButton->setEnabled(idle);
    leaveButton->setEnabled(idle && !m_join.team().isEmpty());
}
