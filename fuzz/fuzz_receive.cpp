// SPDX-License-Identifier: GPL-3.0-or-later
// append_received on any pane with any chunks: the receive pane, the text it
// shows and the capture file stay in step, whatever the line brings.
//
// Input: the bytes of the line come from the front; from the back come the
// pane's starting state (how full, what text, what selection) and the
// length of each chunk.

#include "fuzzsupport.h"

#include "app/mainwindow.h"
#include "core/receivetext.h"
#include "form/receiveappender.h"
#include "form/receivepane.h"
#include "link/capturelog.h"
#include "platform/eightbit.h"
#include "testplatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using Fuzz::require;

// The main window on fakes, with a capture file in a folder of its own.
struct ReceiveRig {
    ReceiveRig() : window(fakes.platform), appender(window.context(), window.captureLog())
    {
        window.Form_Load();
        capturePath = dir.filePath(QStringLiteral("capture.log"));
    }

    ReceivePane& pane() { return *window.ui().Text1; }
    CaptureFile& capture() { return window.context().capture; }

    TestPlatform fakes;
    MainWindow window;
    ReceiveAppender appender;
    QTemporaryDir dir;
    QString capturePath;
};

ReceiveRig* rig = nullptr;

// Text of panel answers cut to length; its end may split a CR LF.
QString filler(int length)
{
    static const QString kLine = QStringLiteral("EVR 0001 01/20/03 09:05 DOOR1 OPEN\r\n");
    QString text;
    while (text.size() < length)
        text += kLine;
    text.truncate(length);
    return text;
}

// Lengths around the pane's cut and its limit.
int startingLength(FuzzedDataProvider& in)
{
    const int around = in.PickValueInArray({0, 0, 0, ReceiveAppender::kSoftLimit, ReceivePane::kMaxLength});
    return around == 0 ? 0 : around + in.ConsumeIntegralInRange(-3, 3);
}

void preparePane(ReceiveRig& r, FuzzedDataProvider& in)
{
    ReceivePane& pane = r.pane();
    pane.clear();
    pane.replaceSelection(filler(startingLength(in)));
    pane.replaceSelection(EightBit::decode(QByteArray::fromStdString(in.ConsumeRandomLengthString(40))));
    const int start = in.ConsumeIntegralInRange(0, pane.length());
    pane.setSelection(start, in.ConsumeIntegralInRange(0, 8));
}

// An edit the operator makes in the pane, through the document.
void operatorEdit(ReceivePane& pane, FuzzedDataProvider& in)
{
    const int end = pane.document()->characterCount() - 1;
    QTextCursor c(pane.document());
    c.setPosition(in.ConsumeIntegralInRange(0, end));
    c.setPosition(in.ConsumeIntegralInRange(0, end), QTextCursor::KeepAnchor);
    c.insertText(EightBit::decode(QByteArray::fromStdString(in.ConsumeRandomLengthString(8))));
}

void checkShownText(const QString& shown)
{
    for (int i = 0; i < shown.size(); ++i) {
        require(shown.at(i) != ReceiveText::kBackspace, "no backspace is shown");
        if (shown.at(i) == u'\r')
            require(i + 1 < shown.size() && shown.at(i + 1) == u'\n', "a CR is followed by an LF");
        if (shown.at(i) == u'\n')
            require(i > 0 && shown.at(i - 1) == u'\r', "an LF follows a CR");
    }
}

void checkPane(ReceivePane& pane)
{
    require(pane.document()->toRawText() == Fuzz::asShown(pane.text()),
            "the document shows the pane's exact text");
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}   // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Fuzz::startApplication();
    rig = new ReceiveRig;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    ReceiveRig& r = *rig;
    r.capture().close();
    QFile::remove(r.capturePath);
    require(r.capture().open(r.capturePath), "the capture file opens");
    r.fakes.prompter.boxes.clear();
    preparePane(r, in);

    QByteArray captured;
    while (in.remaining_bytes() > 0) {
        if (in.ConsumeIntegralInRange(0, 15) == 0) {
            operatorEdit(r.pane(), in);
            checkPane(r.pane());
            continue;
        }
        const QByteArray bytes =
            QByteArray::fromStdString(in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, 300)));
        const QString shown = r.appender.append_received(r.pane(), EightBit::decode(bytes));
        checkShownText(shown);
        captured += EightBit::encode(shown);
        require(r.pane().length() <= ReceivePane::kMaxLength, "the pane keeps within its limit");
        require(r.pane().text().endsWith(shown), "the newest text ends the pane");
        checkPane(r.pane());
    }
    require(r.fakes.prompter.boxes.isEmpty(), "nothing went wrong that the operator must hear of");
    require(contentOf(r.capturePath) == captured, "the capture holds exactly what was shown");
    return 0;
}
