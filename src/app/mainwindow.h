// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/setformhost.h"
#include "core/appsettings.h"
#include "core/journal.h"
#include "core/linksession.h"
#include "core/waiter.h"
#include "desktop/cursorblink.h"
#include "form/form1context.h"
#include "form/form1ui.h"
#include "platform/ticktimer.h"
#include "store/journalwriter.h"
#include "store/renewingstore.h"
#include "store/sqlitestore.h"

#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class CaptureLog;
class Connection;
class Receiver;
class SaveReceived;
class FileSender;
class Uploads;
class EditMenu;
class ParameterMenu;
class ReceivePrinting;
class TenantMenu;
class SiteMenu;
class PanelCommands;
class ProgrammingCode;
class QTemporaryDir;
class JournalView;
class JournalBacklog;
class TeamShipping;

// The main window form1: owns the controls, the link session, the waits
// and every handler object; its own handlers are the frame's.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static const QString kHelpVerb;   // "激活内容(&A)"

    explicit MainWindow(Platform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    Form1Ui& ui() { return m_ui; }
    Form1Context& context() { return m_ctx; }
    AppSettings& settings() { return m_settings; }
    Waiter& waiter() { return m_waiter; }
    LinkSession& session() { return m_session; }
    SetFormHost& setform() { return m_setform; }
    Connection& connection() { return *m_connection; }
    CaptureLog& captureLog() { return *m_captureLog; }
    Receiver& receiver() { return *m_receiver; }
    SaveReceived& saveReceived() { return *m_saveReceived; }
    FileSender& fileSender() { return *m_fileSender; }
    Uploads& uploads() { return *m_uploads; }
    TenantMenu& tenantMenu() { return *m_tenantMenu; }
    ParameterMenu& parameterMenu() { return *m_parameterMenu; }
    ReceivePrinting& receivePrinting() { return *m_receivePrinting; }
    EditMenu& editMenu() { return *m_editMenu; }
    SiteMenu& siteMenu() { return *m_siteMenu; }
    Journal& journal() { return m_journal; }
    JournalWriter& journalWriter() { return m_journalWriter; }
    SqliteStore& store() { return m_store; }
    JournalBacklog& journalBacklog() { return *m_journalBacklog; }
    TeamShipping& teamShipping() { return *m_teamShipping; }
    JournalView* journalView() const;   // the open one, or null

    void Form_Load();
    void Form_Unload();
    void close_Click();
    void Setting_Click();
    void upload_Click();
    void yess_Click();
    void journal_Click();

signals:
    // The program must end: the window has been unloaded.
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void wire();
    void keepJournal();
    void shipJournal();
    void addHelpVerb();
    void openHelpPage();
    void placeOnScreen();
    void centreOnScreen();
    void showClock();
    void showPortDevices();
    void tellStoreOpening(const SqliteStore::Opening& opening);
    void showJournalBacklog(int waiting, const QString& reason);
    void storeRenewed(const QString& keptAs);
    void storeRenewedLater(const QString& keptAs);
    JournalWriter::StoreMaker countingStore();
    void showTeamJournal();
    bool mayClose();

    Platform& m_platform;
    Form1Ui m_ui;
    AppSettings m_settings;
    Waiter m_waiter;
    LinkSession m_session;
    SetFormHost m_setform;
    Form1Context m_ctx;
    SqliteStore m_store;   // the window's own connection: the viewer's
    RenewingStore m_windowStore;   // m_store, a damaged database kept aside and told
    QStringList m_importProblems;   // what could not be brought in from earlier versions' files
    SqliteStore::Opening m_storeOpening;
    JournalWriter m_journalWriter;
    Journal m_journal;
    std::unique_ptr<TeamShipping> m_teamShipping;   // while a team database is joined
    QLocale m_locale;   // the clock's, read once: it is shown every second
    QString m_clockFormat;
    TickTimer m_clockTimer;   // the clock panel's own: the waits stop Timer1
    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<CaptureLog> m_captureLog;
    std::unique_ptr<Receiver> m_receiver;
    std::unique_ptr<SaveReceived> m_saveReceived;
    std::unique_ptr<FileSender> m_fileSender;
    std::unique_ptr<Uploads> m_uploads;
    std::unique_ptr<TenantMenu> m_tenantMenu;
    std::unique_ptr<ParameterMenu> m_parameterMenu;
    std::unique_ptr<ReceivePrinting> m_receivePrinting;
    std::unique_ptr<EditMenu> m_editMenu;
    std::unique_ptr<SiteMenu> m_siteMenu;
    std::unique_ptr<ProgrammingCode> m_programmingCode;
    std::unique_ptr<PanelCommands> m_commands;
    std::unique_ptr<QTemporaryDir> m_helpFolder;   // the help page's copy
    QPointer<JournalView> m_journalView;   // while it is open
    JournalBacklog* m_journalBacklog = nullptr;
    bool m_closeWhenWritten = false;   // the operator chose to wait for the journal
    CursorBlinkTimeout m_cursorBlink;
    bool m_unloaded = false;
};
