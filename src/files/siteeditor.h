// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/sitebook.h"
#include "store/teamsitelink.h"

#include <functional>

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
struct Form1Context;

// Edits one site of the book. OK keeps the dialog open, with a box, until
// the site meets the book's rules. In a team OK sends the site to the
// server and the editor stays open until it answers: a refusal is told in a
// box and the edit kept, to be saved again over the site as it is now (or
// added again, when it was deleted), or discarded with Cancel.
class SiteEditor : public QDialog {
    Q_OBJECT
public:
    using Answered = std::function<void(const TeamSites::Answer&)>;
    using Send = std::function<void(TeamSiteLink::Kind, const Site&, Answered)>;

    // index: the site's place in the book, -1 for a new site.
    SiteEditor(const Form1Context& ctx, const SiteBook& book, int index, QWidget* parent = nullptr);

    Site site() const;
    void accept() override;
    // Saves through send (to the team's server) instead of leaving it to the caller.
    void sendWith(Send send);

    QPushButton* okButton = nullptr;

    QLineEdit* name = nullptr;
    QComboBox* port = nullptr;
    QLineEdit* phone = nullptr;
    QLineEdit* setup = nullptr;
    QPlainTextEdit* notes = nullptr;

private:
    void build();
    void answered(const Site& sent, const TeamSites::Answer& answer);

    const Form1Context& m_ctx;
    const SiteBook& m_book;
    int m_index;
    Site m_site;
    Send m_send;
};
