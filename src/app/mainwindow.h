#pragma once

#include "app/appsettings.h"
#include "app/form1context.h"
#include "app/form1ui.h"
#include "app/setformhost.h"
#include "link/waiter.h"

#include <QMainWindow>
#include <memory>

class Connection;

// The main window form1: owns the controls, the serial port's use, the waits
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
    SetFormHost& setform() { return m_setform; }
    Connection& connection() { return *m_connection; }

    void Form_Load();
    void Form_Unload();
    void close_Click();
    void Setting_Click();
    void upload_Click();
    void yess_Click();

signals:
    // The program must end: the window has been unloaded.
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void wire();
    void addHelpVerb();
    void openHelpPage();
    void centreOnScreen();
    void showClock();

    Platform& m_platform;
    Form1Ui m_ui;
    AppSettings m_settings;
    Waiter m_waiter;
    SetFormHost m_setform;
    Form1Context m_ctx;
    std::unique_ptr<Connection> m_connection;
    bool m_unloaded = false;
};
