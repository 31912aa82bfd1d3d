// SPDX-License-Identifier: GPL-3.0-or-later
#include "programmodes.h"

#include "median.h"
#include "testplatform.h"
#include "usagesnapshot.h"

#include "app/mainwindow.h"
#include "files/parametermenu.h"
#include "files/tenanteditor.h"
#include "files/tenantfile.h"
#include "files/tenantlist.h"
#include "files/tenantmenu.h"
#include "files/tenantrecord.h"
#include "files/textfile.h"
#include "platform/eightbit.h"
#include "platform/linereader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace {

constexpr int kEditorRecords = 10000;
constexpr int kSendLines = 100000;

// A tenant file of four-digit directory numbers, so it opens in that editor.
QString writeTenantFile(const QString& path, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    for (int i = 0; i < records; ++i) {
        const TenantRecord record{QStringLiteral("%1").arg(1000 + i % 9000, 4, 10, QLatin1Char('0')),
                                  QStringLiteral("0301%1").arg(i, 7, 10, QLatin1Char('0')),
                                  QStringLiteral("%1").arg(i % 10000, 4, 10, QLatin1Char('0')),
                                  QString::number(1 + i % 2), QStringLiteral("Tenant number %1").arg(i)};
        file.write(EightBit::encode(record.line()));
    }
    return file.fileName();
}

QString writeParameterFile(const QString& path)
{
    const ParameterValues values{
        {ParameterField::Phone, QStringLiteral("5551234")},
        {ParameterField::Code, QStringLiteral("1234")},
        {ParameterField::TalkTime, QStringLiteral("045")},
        {ParameterField::Door1Time, QStringLiteral("05")},
        {ParameterField::Door2Time, QStringLiteral("07")},
        {ParameterField::DoorRelease, QStringLiteral("12")},
        {ParameterField::Message, QStringLiteral("WELCOME TO THE BUILDING")},
    };
    QString error;
    return TextFile::write(path, ParameterFile::text(values), error) ? path : QString();
}

// Open Tenant File up to the editor shown with the list loaded and painted.
double tenantEditorOpenMs(MainWindow& window, ScriptedPrompter& prompter, const QString& path, int runs)
{
    TenantMenu& menu = window.tenantMenu();
    QElapsedTimer timer;
    std::vector<double> times;
    int lines = 0;
    menu.runModal = [&](TenantEditor& editor) {
        editor.show();
        QCoreApplication::processEvents();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        lines = int(editor.ui().Text1->text().count(TextFile::kCrLf));
    };
    for (int i = 0; i < runs; ++i) {
        prompter.choose(path);
        timer.start();
        menu.open_send_Click();
    }
    report("tenant_lines_shown", lines);
    return median(times);
}

}   // namespace

int runFiles(const QString& workDir, int runs)
{
    const QDir dir(workDir);
    const QString tenants = writeTenantFile(dir.filePath(QStringLiteral("editor.TNT")), kEditorRecords);
    const QString sendFile = writeTenantFile(dir.filePath(QStringLiteral("send.TNT")), kSendLines);
    const QString parameters = writeParameterFile(dir.filePath(QStringLiteral("read.par")));
    const QString written = dir.filePath(QStringLiteral("written.par"));
    if (tenants.isEmpty() || sendFile.isEmpty() || parameters.isEmpty()) {
        qCritical("cannot write the files under %s", qPrintable(workDir));
        return 1;
    }

    TestPlatform fakes;
    MainWindow window(fakes.platform);
    window.Form_Load();
    window.show();
    ScriptedPrompter& prompter = fakes.prompter;

    report("tenant_open_ms", tenantEditorOpenMs(window, prompter, tenants, runs));
    int digits = 0;
    report("column_detection_ms", medianMs(runs, [&] {
               QStringList lines;
               TextFile::readLines(tenants, lines);
               digits = TenantFile::digitCountOf(lines);
           }));
    report("column_detection_digits", digits);
    qint64 counted = 0;
    report("first_pass_ms", medianMs(runs, [&] {
               LineReader reader(sendFile);
               reader.open();
               counted = reader.countNonEmpty();
           }));
    report("first_pass_lines", double(counted));
    ParameterMenu& menu = window.parameterMenu();
    report("par_read_ms", medianMs(runs, [&] {
               prompter.choose(parameters);
               menu.OpenPar_Click();
           }));
    report("par_write_ms", medianMs(runs, [&] {
               prompter.choose(written);
               menu.mnuopenpar_Click();
           }));
    return 0;
}
