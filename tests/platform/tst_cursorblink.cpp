// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/cursorblink.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <memory>

namespace {

constexpr int kFlashMs = 100;   // the cursor changes every 50 ms
constexpr int kTimeoutMs = 400;

// Counts the paint events one widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

int paintsDuring(QWidget* widget, int ms)
{
    PaintCounter counter(widget);
    QTest::qWait(ms);
    return counter.paints;
}

int darkPixels(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 96;
    return dark;
}

// A window with a line edit and a plain text edit holding some text.
struct Fields {
    QWidget window;
    QLineEdit* line = new QLineEdit(QStringLiteral("5551234"));
    QPlainTextEdit* text = new QPlainTextEdit(QStringLiteral("TNTDIR:12"));

    Fields()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(line);
        layout->addWidget(text);
    }
    bool showFocused(QWidget* field)
    {
        window.show();
        window.activateWindow();
        field->setFocus();
        return QTest::qWaitForWindowActive(&window) && field->hasFocus();
    }
};

// The widget whose paints show the cursor: a text edit paints in its viewport.
QWidget* canvasOf(QWidget* field)
{
    auto* text = qobject_cast<QPlainTextEdit*>(field);
    return text ? text->viewport() : field;
}

}   // namespace

class TestCursorBlink : public QObject {
    Q_OBJECT
private slots:
    void init() { QApplication::setCursorFlashTime(kFlashMs); }
    void cleanup() { QApplication::setCursorFlashTime(kFlashMs); }

    void blinksThenStaysShown_data();
    void blinksThenStaysShown();
    void keyOrClickBlinksAgain();
    void desktopWithoutBlinkingIsLeftAlone();
    void endRestoresTheDesktopBlinking();
};

void TestCursorBlink::blinksThenStaysShown_data()
{
    QTest::addColumn<bool>("lineEdit");
    QTest::newRow("line edit") << true;
    QTest::newRow("text edit") << false;
}

void TestCursorBlink::blinksThenStaysShown()
{
    QFETCH(bool, lineEdit);
    Fields fields;
    QWidget* field = lineEdit ? static_cast<QWidget*>(fields.line) : fields.text;
    const CursorBlinkTimeout blink(kTimeoutMs);
    QVERIFY(fields.showFocused(field));

    // While it blinks, the field shows two pictures in turn.
    QVERIFY(blink.blinking());
    QSet<int> pictures;
    for (int i = 0; i < 12 && pictures.size() < 2; ++i) {
        pictures.insert(darkPixels(field->grab().toImage()));
        QTest::qWait(kFlashMs / 4);
    }
    QCOMPARE(pictures.size(), 2);

    QTRY_VERIFY_WITH_TIMEOUT(!blink.blinking(), kTimeoutMs * 4);
    QTest::qWait(kFlashMs);
    QCOMPARE(paintsDuring(canvasOf(field), kFlashMs * 4), 0);
    // Steady means shown: the darker of the two pictures, cursor included.
    QCOMPARE(darkPixels(field->grab().toImage()), *std::max_element(pictures.begin(), pictures.end()));
}

void TestCursorBlink::keyOrClickBlinksAgain()
{
    Fields fields;
    const CursorBlinkTimeout blink(kTimeoutMs);
    QVERIFY(fields.showFocused(fields.line));
    QTRY_VERIFY_WITH_TIMEOUT(!blink.blinking(), kTimeoutMs * 4);

    QTest::keyClick(fields.line, Qt::Key_5);
    QCOMPARE(fields.line->text(), QStringLiteral("55512345"));   // the key still types
    QCOMPARE(QApplication::cursorFlashTime(), kFlashMs);
    QVERIFY(paintsDuring(fields.line, kFlashMs * 2) > 0);
    QTRY_VERIFY_WITH_TIMEOUT(!blink.blinking(), kTimeoutMs * 4);

    QTest::mouseClick(fields.text->viewport(), Qt::LeftButton);
    QCOMPARE(QApplication::cursorFlashTime(), kFlashMs);
    QVERIFY(fields.text->hasFocus());
    QVERIFY(paintsDuring(fields.text->viewport(), kFlashMs * 2) > 0);
}

void TestCursorBlink::desktopWithoutBlinkingIsLeftAlone()
{
    QApplication::setCursorFlashTime(0);
    Fields fields;
    const CursorBlinkTimeout blink(kTimeoutMs);
    QVERIFY(fields.showFocused(fields.line));
    QTest::keyClick(fields.line, Qt::Key_1);
    QCOMPARE(QApplication::cursorFlashTime(), 0);
    QVERIFY(!blink.blinking());
}

void TestCursorBlink::endRestoresTheDesktopBlinking()
{
    auto blink = std::make_unique<CursorBlinkTimeout>(kTimeoutMs / 4);
    QTRY_VERIFY_WITH_TIMEOUT(!blink->blinking(), kTimeoutMs * 4);
    blink.reset();
    QCOMPARE(QApplication::cursorFlashTime(), kFlashMs);
}

QTEST_MAIN(TestCursorBlink)
#include "tst_cursorblink.moc"
